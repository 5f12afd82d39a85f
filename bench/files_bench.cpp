// Benchmarks of the persistent files: data-log appends and rotation, configuration load and save.
#include "files/config_file.h"
#include "files/logs.h"
#include "files/text_file.h"
#include "common/settings_record.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Runs a benchmark in a fresh temporary directory, the files' home, and removes it afterwards.
class scratch_directory {
  public:
    scratch_directory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vs-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    ~scratch_directory() {
        std::filesystem::current_path(previous_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    scratch_directory(const scratch_directory&) = delete;
    scratch_directory& operator=(const scratch_directory&) = delete;

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

ups_status sample_readings() {
    ups_status ups{};
    ups.valid = 1;
    std::strcpy(ups.ups_id, "Server Room A");
    ups.logged_voltage = 230;
    ups.frequency = 50;
    ups.battery_charge = 100;
    ups.temperature_c = 31;
    ups.power_state = 2;
    return ups;
}

std::string data_log_bytes(long records) {
    std::string one = "03/14/26 ,09:26:00,Server Room A  ,230 ,50  ,100 ,31  ,2\r\n";
    std::string out;
    out.reserve(one.size() * static_cast<std::size_t>(records));
    for (long i = 0; i < records; ++i) out += one;
    return out;
}

void BM_AppendDataRecord(benchmark::State& state) {
    scratch_directory dir;
    const ups_status ups = sample_readings();
    time_t t = 1773480413;
    log_book book;
    for (auto _ : state) {
        write_data_record(book, ups, t);
        t += 60;
        // Stay below the rotation limit so only appends are measured.
        if (data_log_record_count(DATA_LOG) >= 11000) {
            state.PauseTiming();
            std::filesystem::remove(DATA_LOG);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_AppendDataRecord);

void BM_RotateDataLog12001(benchmark::State& state) {
    scratch_directory dir;
    const std::string full = data_log_bytes(12001);
    for (auto _ : state) {
        state.PauseTiming();
        unique_fd fd(::open(DATA_LOG, O_WRONLY | O_CREAT | O_TRUNC, 0644));
        if (!fd || !write_all(fd.get(), full)) std::abort();
        fd.close();
        state.ResumeTiming();
        rotate_log(DATA_LOG);
        benchmark::DoNotOptimize(data_log_record_count(DATA_LOG));
    }
}
BENCHMARK(BM_RotateDataLog12001)->Unit(benchmark::kMillisecond);

void BM_LoadConfiguration(benchmark::State& state) {
    scratch_directory dir;
    auto app = std::make_unique<settings_record>();
    load_configuration(app->local, app->settings, 1773480413);
    if (save_configuration(app->local, app->settings) != 0) std::abort();
    for (auto _ : state) {
        benchmark::DoNotOptimize(load_configuration(app->local, app->settings, 1773480413));
    }
}
BENCHMARK(BM_LoadConfiguration);

void BM_SaveConfiguration(benchmark::State& state) {
    scratch_directory dir;
    auto app = std::make_unique<settings_record>();
    load_configuration(app->local, app->settings, 1773480413);
    for (auto _ : state) benchmark::DoNotOptimize(save_configuration(app->local, app->settings));
}
BENCHMARK(BM_SaveConfiguration)->Unit(benchmark::kMicrosecond);

} // namespace
