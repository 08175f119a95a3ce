#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

namespace veltrana::test {

/// While it lives, the calling thread cannot read past a file's permission bits, even as root
/// (it lowers the effective capabilities that allow it and raises them again at the end), so
/// that a file of mode 000 is unreadable as it is for a user. ok() is false when that could
/// not be done.
class NoReadOverride {
public:
    NoReadOverride() {
        if (::geteuid() != 0) {
            m_ok = true;
            return;
        }
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, m_saved, sizeof lowered);
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_ok = m_lowered = ::syscall(SYS_capset, &header, lowered) == 0;
    }
    ~NoReadOverride() {
        if (m_lowered) {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            ::syscall(SYS_capset, &header, m_saved);
        }
    }
    NoReadOverride(const NoReadOverride&) = delete;
    NoReadOverride& operator=(const NoReadOverride&) = delete;
    bool ok() const { return m_ok; }

private:
    __user_cap_data_struct m_saved[2] = {};
    bool m_ok = false;
    bool m_lowered = false;
};

} // namespace veltrana::test
