#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root reads and writes past file and folder modes. Dropping those powers
// holds this process to the modes as anybody else is, who has nothing to
// drop. False when they could not be dropped.
inline bool DropRootsFilePowers() {
    if (geteuid() != 0) return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3];
    if (syscall(SYS_capget, &header, data) != 0) return false;
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    return syscall(SYS_capset, &header, data) == 0;
}
