#!/bin/sh
# Stands in for the optimiser in tests: takes the five arguments, writes the listing line by
# line and the result file where veltra expects it. VELTRANA_STANDIN picks the ending:
#   ok (default), fail (status 3, ten lines), crash (killed by SIGSEGV), noresult (status 0, no file),
#   slow (runs until it is ended), wait (goes on as ok once a file "go" is in the directory),
#   silent (status 3 with its reason on stderr only, the listing untouched),
#   term (runs until SIGTERM, which it notes in the listing), deaf (ignores SIGTERM).
name=$1 dir=$2 family=$3
listing="$family/Veltr.hz/User/~Veltra.out"
if [ "${VELTRANA_STANDIN:-ok}" = silent ]; then
    echo "optimiser: Cannot write the listing $listing: No space left on device" >&2
    exit 3
fi
printf 'args=%s|%s|%s|%s|%s\n' "$1" "$2" "$3" "$4" "$5" >"$listing"
echo "pid=$$" >>"$listing"
echo "cwd=$(pwd)" >>"$listing"
# The run lock veltra hands down: its descriptor must be open here.
fd=${VELTRANA_RUN_LOCK_FD:-none}
if [ "$fd" != none ] && [ -e "/proc/$$/fd/$fd" ]; then state=open; else state=closed; fi
echo "lock=$fd $state" >>"$listing"
for i in 1 2 3; do
    echo "iteration $i error sum 0.0$i" >>"$listing"
done
lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
case $lower in
*.*) rest=${lower#*.}; result="$dir/${lower%%.*}_${rest%%.*}.dat" ;;
*) result="$dir/$lower.dat" ;;
esac
case ${VELTRANA_STANDIN:-ok} in
fail)
    for i in 4 5; do
        echo "iteration $i error sum 0.0$i" >>"$listing"
    done
    echo "No pass-band points" >>"$listing" # the tenth line
    exit 3
    ;;
crash) kill -SEGV $$ ;;
noresult) exit 0 ;;
slow) echo "started" >>"$listing"; exec sleep 60 ;;
wait) while [ ! -e "$dir/go" ]; do sleep 0.05; done ;;
term | deaf)
    if [ "$VELTRANA_STANDIN" = term ]; then
        trap 'echo "Run cancelled on SIGTERM" >>"$listing"; exit 2' TERM
    else
        trap '' TERM
    fi
    echo "started" >>"$listing"
    while :; do sleep 0.05; done ;;
esac
head -n 1 "$dir/$name" >"$result"
echo "result written to $result" >>"$listing"
exit 0
