// Stands in for both ends of the hand-over in bench_run_handover. With the optimiser's five
// arguments it writes the listing and the result file, notes the time and exits; without
// arguments (as plots is started) it notes the time it was started at.
#include <cstdio>
#include <ctime>
#include <string>

namespace {

void Note(const std::string& path) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (std::FILE* f = std::fopen(path.c_str(), "w")) {
        std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fclose(f);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string self = argv[0];
    const std::string family = self.substr(0, self.rfind('/'));
    if (argc == 1) {
        Note(family + "/plots.ns");
        return 0;
    }
    if (argc != 6)
        return 2;
    const std::string dir = argv[2];
    if (std::FILE* f = std::fopen((family + "/Veltr.hz/User/~Veltra.out").c_str(), "w")) {
        std::fprintf(f, "fitted %s\n", argv[1]);
        std::fclose(f);
    }
    if (std::FILE* f = std::fopen((dir + "/run_frq.dat").c_str(), "w")) {
        // As the optimiser does, the result names its input file first.
        std::fprintf(f, "%s  result\n", argv[1]);
        std::fclose(f);
    }
    Note(family + "/exit.ns");
    return 0;
}
