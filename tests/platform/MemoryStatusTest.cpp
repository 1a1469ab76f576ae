#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

TEST(MemoryStatus, FiguresComeFromTheirFieldsInBytes) {
    const MemoryStatus m =
        parseMeminfo("MemTotal:       16318480 kB\nMemFree:          512000 kB\n"
                     "MemAvailable:    8000000 kB\nSwapCached:            0 kB\n"
                     "SwapTotal:       2097148 kB\nSwapFree:        1048576 kB\n");
    EXPECT_EQ(m.totalPhys, 16318480LL * 1024);
    EXPECT_EQ(m.availPhys, 8000000LL * 1024);
    EXPECT_EQ(m.totalPageFile, (16318480LL + 2097148) * 1024);
    EXPECT_EQ(m.availPageFile, (8000000LL + 1048576) * 1024);

    // 1 TiB, no swap lines, another order, no final newline.
    const MemoryStatus big =
        parseMeminfo("MemAvailable: 805306368 kB\nSwapCached: 0 kB\nMemTotal: 1073741824 kB");
    EXPECT_EQ(big.totalPhys, 1LL << 40);
    EXPECT_EQ(big.availPageFile, 805306368LL * 1024);
    EXPECT_EQ(parseMeminfo("MemTotalX: 5 kB\nMemFree: 7 kB\n").totalPhys, 0);

    const MemoryStatus machine = readMemoryStatus();
    EXPECT_GT(machine.availPhys, 0);
    EXPECT_GE(machine.totalPageFile, machine.totalPhys);
}
