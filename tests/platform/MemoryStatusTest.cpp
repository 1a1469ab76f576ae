#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

TEST(MemoryStatus, FiguresComeFromTheirFieldsInBytes) {
    const MemoryStatus m = parseMeminfo("MemTotal:       16318480 kB\n"
                                        "MemFree:          512000 kB\n"
                                        "MemAvailable:    8000000 kB\n"
                                        "SwapCached:            0 kB\n"
                                        "SwapTotal:       2097148 kB\n"
                                        "SwapFree:        1048576 kB\n"
                                        "HugePages_Total:       0\n");
    EXPECT_EQ(m.totalPhys, 16318480LL * 1024);
    EXPECT_EQ(m.availPhys, 8000000LL * 1024);
    EXPECT_EQ(m.totalPageFile, (16318480LL + 2097148) * 1024);
    EXPECT_EQ(m.availPageFile, (8000000LL + 1048576) * 1024);

    // 1 TiB, no swap lines, another order, no final newline.
    const MemoryStatus big =
        parseMeminfo("MemAvailable: 805306368 kB\nSwapCached: 0 kB\nMemTotal: 1073741824 kB");
    EXPECT_EQ(big.totalPhys, 1LL << 40);
    EXPECT_EQ(big.availPhys, 805306368LL * 1024);
    EXPECT_EQ(big.totalPageFile, big.totalPhys);
    EXPECT_EQ(big.availPageFile, big.availPhys);

    const MemoryStatus none = parseMeminfo("MemTotalX: 5 kB\nMemFree: 7 kB\n");
    EXPECT_EQ(none.totalPhys, 0);
    EXPECT_EQ(none.availPhys, 0);
}

TEST(MemoryStatus, TheMachinesFiguresAddUp) {
    const MemoryStatus m = readMemoryStatus();
    EXPECT_GT(m.availPhys, 0);
    EXPECT_GE(m.totalPhys, m.availPhys);
    EXPECT_GE(m.totalPageFile, m.totalPhys);
    EXPECT_GE(m.availPageFile, m.availPhys);
    EXPECT_GE(m.totalPageFile, m.availPageFile);
}
