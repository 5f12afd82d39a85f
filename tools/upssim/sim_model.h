// The simulated UPS: its state in engineering units, its timers and its replies to the commands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the simulated UPS spoils its replies.
enum class fault_mode { normal, silent, echo_only, wrong_echo, garbage, short_reply, slow };

// The name of a fault mode as the command language spells it.
const char* fault_name(fault_mode mode);

// What the UPS does when its switch-off time comes.
enum class off_kind { none, until_mains, stay_off, restart_after_delay };

struct sim_model {
    // Identification, sent raw as the :W, :L and :V replies.
    unsigned protocol = 0x00;
    unsigned identity = 0x50; // 1250 VA, voltage class 0
    unsigned firmware = 0x12;
    unsigned nominal_voltage = 240; // the program's setting for class 3: 208 or 240

    // Readings.
    bool mains_on = true;
    unsigned line_volts = 120;
    unsigned output_volts = 120;
    unsigned frequency_tenths = 600;
    unsigned load_percent = 25;
    unsigned battery_tenths = 135;
    bool battery_low = false;
    unsigned temperature_raw = 0x8C;
    unsigned regulator = 0;
    unsigned phone_option = 0;
    unsigned field2 = 0;
    unsigned field8 = 0;

    // Output switching: on, or off until a restart.
    bool output_on = true;
    unsigned grace_seconds = 0;
    unsigned long restart_delay_seconds = 0;
    off_kind pending_off = off_kind::none;
    off_kind off_reason = off_kind::none;
    int64_t off_at_ms = 0;
    int64_t on_at_ms = 0;

    // Self-test life cycle: :A starts it, :C reports 2 while it runs and then the result.
    unsigned selftest_status = 4;
    unsigned selftest_result = 0;
    unsigned selftest_seconds = 8;
    int64_t selftest_end_ms = 0;

    // Faults and time.
    fault_mode fault = fault_mode::normal;
    unsigned slow_ms_per_byte = 20;
    double speed = 1.0; // simulated seconds per real second
};

// The decoded identification: what the program derives from the :W and :L values.
struct sim_identity {
    bool extended;
    bool corvel;
    unsigned voltage_class;
    unsigned va_rating;
};

// Decodes the protocol and identity values the way the program must.
sim_identity identity_of(const sim_model& model);

// Encodes an identification into protocol and identity values; false with a reason when the
// combination cannot be expressed (plain VA ratings come from a fixed table).
bool encode_identity(sim_model& model, const sim_identity& id, std::string& error);

// Scale of raw voltages in hundredths for the model's voltage class (and nominal voltage).
unsigned voltage_scale(const sim_model& model);

// The raw voltage that the program shows as closest to volts.
unsigned raw_for_volts(const sim_model& model, unsigned volts);

// Volts the program shows for a raw voltage.
unsigned volts_for_raw(const sim_model& model, unsigned raw);

// Degrees Celsius the program shows for a raw temperature, and the raw value closest to degrees.
int celsius_for_raw(unsigned raw);
unsigned raw_for_celsius(int celsius);

// Degrees Fahrenheit the program shows for degrees Celsius.
int fahrenheit_for_celsius(int celsius);

// Battery charge in percent the program shows for a battery voltage in tenths.
unsigned charge_for_tenths(unsigned tenths);

// Hertz the program shows for a frequency in tenths.
unsigned hertz_for_tenths(unsigned tenths);

// The power state the :D reply reports: bit 0 inverting, bit 1 output on.
unsigned power_state(const sim_model& model);

// The 21 payload characters of the :D reply.
std::string status_fields(const sim_model& model);

// The bytes the UPS sends for one received command line (CR excluded) at time now_ms, with the
// state changes the command makes; notes describe those changes for the transcript. An unknown
// command gives no reply and a note.
std::string answer_command(sim_model& model, const std::string& line, int64_t now_ms,
                           std::vector<std::string>& notes);

// Runs the timers due at now_ms (self-test end, switch-off, restart), adding notes.
void advance_model(sim_model& model, int64_t now_ms, std::vector<std::string>& notes);

// Real milliseconds until the next timer of the model, or -1 when none is pending.
int64_t next_model_deadline(const sim_model& model, int64_t now_ms);

// Sets the mains on or off, with what follows from it (a :G switch-off ends when they return).
void set_mains(sim_model& model, bool on, int64_t now_ms, std::vector<std::string>& notes);

// Starts a self-test as :A does.
void start_selftest(sim_model& model, int64_t now_ms);

// Writes the values the program should show as "key: value" lines.
std::string describe_model(const sim_model& model);
