#pragma once

#include <string>

// Time on the emulated buses, for benchmarks. With a clock set, each I2C transfer takes as long
// as it would on the wire (nine clocks a byte, the address byte included, plus start and stop),
// and the transfers are grouped into bursts, a program's frames: transfers less than 20 ms apart
// belong to one. Without a clock, transfers take no time and nothing is counted.
namespace emulated::detail {

// Clock of every emulated I2C bus in Hz; 0 for none.
void setI2cClock(long hz);
// A transfer of `bytes` bytes, the address byte included, on the bus at `bus`: counted in its
// burst and owed by the calling thread, which pays it once it holds no lock.
void chargeI2c(const std::string& bus, int bytes);
// Sleeps for what the calling thread owes.
void payBusTime();
// Where each burst is written once it has ended, a line each: the bus, its bytes and its time
// in milliseconds. Written as they end, since some programs leave without running the library's
// destructors. Empty: kept nowhere.
void setBusStatistics(const std::string& file);

} // namespace emulated::detail
