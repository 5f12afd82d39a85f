// Benchmarks of the UPS reply decoding that every poll runs.
#include "engine/protocol.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void decode_status(benchmark::State& state) {
    ups_status ups{};
    ups.voltage_class = 1;
    ups.battery_voltage = 0x84;
    for (auto _ : state) {
        decode_status_reply("\n1078128C00003F7878258", ups);
        benchmark::DoNotOptimize(ups);
    }
}
BENCHMARK(decode_status);

void echo_check_and_decode(benchmark::State& state) {
    ups_status ups{};
    ups.voltage_class = 1;
    char reply[128] = ":D\r\n1078128C00003F7878258\r";
    const int count = static_cast<int>(strlen(reply));
    for (auto _ : state) {
        ups.next_step = STEP_STATUS;
        protocol_prepare_command(ups);
        benchmark::DoNotOptimize(decode_ups_reply(reply, count, ups));
    }
}
BENCHMARK(echo_check_and_decode);

} // namespace
