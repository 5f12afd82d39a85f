// Drawing of the status window at its fixed pixel positions, white on blue.
#include "ui/status_draw.h"

#include "engine/app_state.h"
#include "ui/message_panel.h"

#include <cstdio>
#include <cstring>
#include <wyn/checked/dwin.h>
#include <wyn/checked/font.h>
#include <wyn/checked/shell.h>
#include <wyn/checked/win.h>

namespace {

float g_scale = 1.0f;

// What the gauges showed last, so that an unchanged gauge is not repainted after every poll.
struct drawn_record {
    bool known;
    ups_status values;
};
drawn_record g_drawn{};

constexpr int BAR_BOTTOM = 304;

struct zone {
    int top, bottom;
    COLOR color;
};

struct gauge {
    int zone_left, zone_right;
    zone zones[3];
    int zone_count;
    int bar_left, bar_right;
    int legend_x;
    const char* legend[2];
    int tick_x;
    int arrow_right, arrow_left;
};

// Zones are listed bottom up; the last one is the topmost and gets the top face.
constexpr gauge VOLTAGE_GAUGE{302,
                              342,
                              {{250, 304, COLOR_RED}, {75, 250, COLOR_GREEN}, {48, 75, COLOR_RED}},
                              3,
                              312,
                              332,
                              300,
                              {" Line  ", "Voltage"},
                              265,
                              362,
                              357};
constexpr gauge LOAD_GAUGE{430,
                           470,
                           {{95, 304, COLOR_GREEN}, {48, 95, COLOR_RED}, {}},
                           2,
                           440,
                           460,
                           415,
                           {"  Percent ", "   Load   "},
                           390,
                           490,
                           485};
constexpr gauge BATTERY_GAUGE{550,
                              590,
                              {{225, 304, COLOR_RED}, {48, 225, COLOR_GREEN}, {}},
                              2,
                              560,
                              580,
                              535,
                              {" Battery", "  Charge"},
                              510,
                              610,
                              605};

struct tick {
    const char* text;
    int y;
};
constexpr tick VOLTAGE_120_TICKS[] = {{"140v", 62},  {"130v", 102}, {"120v", 142}, {"110v", 182},
                                      {"100v", 222}, {" 90v", 262}, {"  0v", 300}};
constexpr tick VOLTAGE_230_TICKS[] = {{"260v", 62},  {"240v", 102}, {"220v", 142}, {"200v", 182},
                                      {"180v", 222}, {"160v", 262}, {"  0v", 300}};
constexpr tick LOAD_TICKS[] = {{"120%", 60},  {"100%", 100}, {" 80%", 140}, {" 60%", 180},
                               {" 40%", 220}, {" 20%", 260}, {"  0%", 300}};
constexpr tick BATTERY_TICKS[] = {
    {"100%", 60}, {" 75%", 115}, {" 50%", 180}, {" 25%", 240}, {"  0%", 300}};

RCT rect(int left, int top, int right, int bottom) {
    return RCT{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}

PNT point(int x, int y) {
    return PNT{int16_t(y), int16_t(x)};
}

void set_pen(WINDOW win, COLOR color) {
    const DRAW_CPEN pen{1, PAT_SOLID, PS_SOLID_LINE, color};
    wyn_dwin_set_cpen(win, &pen);
}

void set_brush(WINDOW win, COLOR color) {
    const DRAW_CBRUSH brush{PAT_SOLID, color};
    wyn_dwin_set_cbrush(win, &brush);
}

void fill(WINDOW win, const RCT& r, COLOR color) {
    set_brush(win, color);
    wyn_dwin_draw_rect(win, &r);
}

// The L of an inset frame: down (or up) the side at x a from y c to y d, then along y d to x b.
void frame_l(WINDOW win, int a, int c, int d, int b, COLOR color) {
    const PNT pts[3] = {point(a, c), point(a, d), point(b, d)};
    set_pen(win, color);
    wyn_dwin_draw_polyline(win, pts, 3);
}

void text(WINDOW win, int x, int y, const char* s) {
    wyn_dwin_draw_text(win, x, y, s, -1);
}

// The text cut or padded with blanks to exactly width characters.
void field(WINDOW win, int x, int y, const char* s, int width) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%-*.*s", width, width, s ? s : "");
    text(win, x, y, buf);
}

void blanks(WINDOW win, int x, int y, int count) {
    field(win, x, y, "", count);
}

void red_text(WINDOW win, int x, int y, const char* s) {
    wyn_dwin_set_fore_color(win, COLOR_RED);
    text(win, x, y, s);
    wyn_dwin_set_fore_color(win, COLOR_WHITE);
}

bool on_battery(const ups_status& ups) {
    return ups.power_state == 1 || ups.power_state == 3;
}

void draw_zone(WINDOW win, const gauge& g, const zone& z, bool topmost) {
    set_pen(win, COLOR_BLACK);
    fill(win, rect(g.zone_left, z.top, g.zone_right, z.bottom), z.color);
    const int r = g.zone_right;
    const PNT side[4] = {point(r, z.top), point(r, z.bottom), point(r + 10, z.bottom - 10),
                         point(r + 10, z.top - 10)};
    wyn_dwin_draw_polygon(win, side, 4);
    if (topmost) {
        const PNT top[4] = {point(g.zone_left + 10, z.top - 10), point(g.zone_left, z.top),
                            point(r, z.top), point(r + 10, z.top - 10)};
        wyn_dwin_draw_polygon(win, top, 4);
    }
}

void draw_arrow(WINDOW win, const gauge& g, int y) {
    if (y < 0) return;
    wyn_dwin_set_std_cpen(win, STD_PEN_WHITE);
    const PNT from = point(g.arrow_right, y), to = point(g.arrow_left, y);
    wyn_dwin_draw_set_pos(win, &from);
    wyn_dwin_draw_aline(win, &to, FALSE, TRUE);
}

template <size_t N> void draw_ticks(WINDOW win, const gauge& g, const tick (&ticks)[N]) {
    for (const tick& t : ticks) text(win, g.tick_x, t.y, t.text);
}

// Repaints the zones when asked to or when the value moved, then the bar of a valid record.
void draw_gauge(WINDOW win, const gauge& g, bool full, bool valid, int value, int remembered,
                int top) {
    if (full || !valid || value != remembered)
        for (int i = 0; i < g.zone_count; ++i) draw_zone(win, g, g.zones[i], i == g.zone_count - 1);
    if (valid && top >= 0) {
        set_pen(win, COLOR_BLACK);
        fill(win, rect(g.bar_left, top, g.bar_right, BAR_BOTTOM), COLOR_BLACK);
    }
    set_brush(win, COLOR_BLUE);
}

// A numeric value row at the value column, or its blanks while the record holds no data.
void value_row(WINDOW win, int y, bool valid, const char* format, int value, int blank_count) {
    if (!valid) {
        blanks(win, 150, y, blank_count);
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    text(win, 150, y, buf);
}

void draw_gauge_labels(WINDOW win, const gauge& g) {
    text(win, g.legend_x, 317, g.legend[0]);
    text(win, g.legend_x, 330, g.legend[1]);
}

// The three gauges with the value rows that go with them.
void draw_gauges(WINDOW win, const ups_status& ups, bool full) {
    ups_status& drawn = g_drawn.values;
    const bool valid = ups.valid != 0;
    const int cls = valid ? ups.voltage_class : 0;
    if (full) {
        draw_gauge_labels(win, VOLTAGE_GAUGE);
        draw_gauge_labels(win, LOAD_GAUGE);
        draw_gauge_labels(win, BATTERY_GAUGE);
        if (cls == 0)
            draw_ticks(win, VOLTAGE_GAUGE, VOLTAGE_120_TICKS);
        else
            draw_ticks(win, VOLTAGE_GAUGE, VOLTAGE_230_TICKS);
        draw_ticks(win, LOAD_GAUGE, LOAD_TICKS);
        draw_ticks(win, BATTERY_GAUGE, BATTERY_TICKS);
        draw_arrow(win, VOLTAGE_GAUGE,
                   high_voltage_arrow_y(ups.thresholds[ALARM_HIGH_LINE].value, cls));
        draw_arrow(win, VOLTAGE_GAUGE,
                   low_voltage_arrow_y(ups.thresholds[ALARM_LOW_LINE].value, cls));
        draw_arrow(win, LOAD_GAUGE, load_arrow_y(ups.thresholds[ALARM_LOAD].value));
        draw_arrow(win, BATTERY_GAUGE, battery_arrow_y(ups.thresholds[ALARM_BATTERY].value));
    }

    value_row(win, 202, valid, "%d volts  ", ups.line_voltage, 11);
    draw_gauge(win, VOLTAGE_GAUGE, full, valid, ups.line_voltage, drawn.line_voltage,
               voltage_bar_top(ups.line_voltage, cls));
    value_row(win, 290, valid, "%d%%  ", ups.load, 7);
    draw_gauge(win, LOAD_GAUGE, full, valid, ups.load, drawn.load, load_bar_top(ups.load));
    value_row(win, 312, valid, "%d%%  ", ups.battery_charge, 7);
    draw_gauge(win, BATTERY_GAUGE, full, valid, ups.battery_charge, drawn.battery_charge,
               battery_bar_top(ups.battery_charge));

    if (valid) {
        drawn.line_voltage = ups.line_voltage;
        drawn.load = ups.load;
        drawn.battery_charge = ups.battery_charge;
    }
}

const char* regulator_text(int state) {
    static const char* const texts[] = {"OFF        ", "REDUCING   ", "BOOST      ", "EXTRA BOOST"};
    return state >= 0 && state < 4 ? texts[state] : nullptr;
}

const char* selftest_text(int status) {
    static const char* const texts[] = {"OK         ", "BATTERY BAD", "IN PROGRESS", "BAD INVERTR",
                                        "UNKNOWN    "};
    return status >= 0 && status < 5 ? texts[status] : "           ";
}

void draw_status_rows(WINDOW win, const ups_status& ups) {
    const bool valid = ups.valid != 0;
    char buf[32];
    if (!valid) {
        blanks(win, 150, 268, 11);
    } else if (ups.battery_not_low == 0) {
        red_text(win, 150, 268, "LOW BATTERY");
    } else if (on_battery(ups)) {
        red_text(win, 150, 268, "ON BATTERY ");
    } else {
        text(win, 150, 268, "NORM POWER ");
    }

    if (!valid)
        blanks(win, 150, 246, 11);
    else if (const char* r = regulator_text(ups.regulator_state))
        text(win, 150, 246, r);

    value_row(win, 224, valid, "%d hz  ", on_battery(ups) ? 0 : ups.frequency, 8);

    if (!valid)
        blanks(win, 150, 378, 5);
    else {
        if (ups.temperature_unit == 1)
            std::snprintf(buf, sizeof buf, "%d F  ", ups.temperature_f);
        else
            std::snprintf(buf, sizeof buf, "%d C  ", ups.temperature_c);
        text(win, 150, 378, buf);
    }

    if (!valid)
        blanks(win, 150, 400, 10);
    else
        text(win, 150, 400, ups.phone_option_value ? "REBOOT   " : "REMOTE ON");

    text(win, 150, 334, selftest_text(ups.selftest_status));

    const ups_clock& last = ups.last_selftest;
    if (last.year != 0) {
        // The scheduler keeps this month 1-12, unlike the poll clock's.
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", last.month % 100, last.day % 100,
                      last.year % 1000);
        text(win, 150, 356, buf);
    } else {
        blanks(win, 150, 356, 8);
    }
}

void draw_status_labels(WINDOW win) {
    static const char* const labels[] = {"Line Voltage...", "Line Frequency.", "ARVO Line......",
                                         "UPS Mode.......", "Percent Load...", "Battery Charge.",
                                         "Self-Test......", "Self-Test Date.", "UPS Temp.......",
                                         "Phone Option..."};
    int y = 202;
    for (const char* label : labels) {
        text(win, 14, y, label);
        y += 22;
    }
}

void draw_view_panel(WINDOW win, const app_state& app, const ups_status& ups, bool full) {
    if (full) {
        status_draw_panel(win, rect(5, 55, 257, 155), rect(9, 59, 252, 151));
        set_pen(win, COLOR_WHITE);
        text(win, 34, 75, "UPS Presently in View");
        const PNT from = point(9, 82), to = point(252, 82);
        wyn_dwin_draw_set_pos(win, &from);
        wyn_dwin_draw_line(win, &to);
        text(win, 14, 98, "Workstation..");
        text(win, 14, 118, "Server.......");
        text(win, 14, 138, "Model........");
    }
    field(win, 135, 98, app.ups_in_view[0] ? app.ups_in_view : app.local.ups_id, 14);
    field(win, 135, 118, app.alert_server, 14);
    field(win, 135, 138, ups.valid ? ups.model_name : "", 14);
}

} // namespace

void status_scale_init(int dialog_base_width) {
    g_scale = dialog_base_width < 9 ? 1.0f : 1.25f;
}

void status_scale_init() {
    int32_t width = 0, height = 0;
    wyn_scr_get_dialog_units(&width, &height);
    status_scale_init(width);
}

float status_scale() {
    return g_scale;
}

int status_scaled(int value) {
    return int(float(value) * g_scale + 0.5f);
}

WINDOW task_window_object() {
    return reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
}

void status_maximize_frame() {
    if (g_scale == 1.0f) return;
    if (WINDOW task = task_window_object()) wyn_win_maximize(task);
}

void status_set_icon(const char* name) {
    WINDOW task = task_window_object();
    if (!task || !name) return;
    wyn_win_set_icon(task, name);
    if (wyn_win_is_minimized(task)) wyn_win_flash(task, FALSE);
}

void status_draw_reset() {
    g_drawn = drawn_record{};
}

void status_set_tools(WINDOW win) {
    wyn_dwin_set_font_family(win, "fixed");
    wyn_dwin_set_font_style(win, 1);
    wyn_dwin_set_font_size(win, g_scale == 1.25f ? 8 : 10);
    DRAW_CTOOLS tools;
    wyn_app_get_default_ctools(&tools);
    tools.brush.color = COLOR_BLUE;
    tools.fore_color = COLOR_WHITE;
    tools.back_color = COLOR_BLUE;
    tools.opaque_text = TRUE;
    wyn_dwin_set_draw_ctools(win, &tools);
}

void status_draw_panel(WINDOW win, const RCT& panel, const RCT& frame) {
    set_pen(win, COLOR_BLACK);
    fill(win, panel, COLOR_BLUE);
    frame_l(win, frame.right, frame.top, frame.bottom, frame.left, COLOR_WHITE);
    frame_l(win, frame.left, frame.bottom, frame.top, frame.right, COLOR_GRAY);
    set_pen(win, COLOR_BLACK);
}

void status_draw_clock(WINDOW win, bool partial) {
    if (!g_app) return;
    status_set_tools(win);
    if (!partial) status_draw_panel(win, rect(4, 15, 172, 42), rect(8, 19, 166, 38));
    const ups_clock& c = g_app->poll_clock;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", (c.month + 1) % 100, c.day % 100,
                  c.year % 1000);
    text(win, 12, 33, buf);
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", c.hour % 100, c.minute % 100, c.second % 100);
    text(win, 92, 33, buf);
}

void status_draw(WINDOW win, bool partial) {
    if (!g_app) return;
    app_state& app = *g_app;
    if (!g_drawn.known) g_drawn = drawn_record{true, {}};
    const ups_status& ups = app.remote_view ? app.remote : app.local;
    if (ups.valid && ups.voltage_class != g_drawn.values.voltage_class) {
        app.force_redraw = 1;
        g_drawn.values.voltage_class = ups.voltage_class;
    }
    bool full = !partial;
    if (app.force_redraw) {
        app.force_redraw = 0;
        full = true;
    }
    if (full) wyn_dwin_clear(win, COLOR_BLUE);
    status_set_tools(win);
    status_draw_clock(win, !full);
    message_panel_draw(win, !full);
    status_set_tools(win);
    draw_view_panel(win, app, ups, full);
    if (full) {
        status_draw_panel(win, rect(4, 179, 257, 421), rect(9, 184, 252, 416));
        draw_status_labels(win);
    }
    draw_gauges(win, ups, full);
    draw_status_rows(win, ups);
}

int voltage_bar_top(int v, int cls) {
    if (v == 0) return -1;
    double y;
    if (cls == 0)
        y = v < 90 ? 300 - v / 2.368421 : 262 - (v - 90) / 0.25;
    else
        y = v < 160 ? 300 - v / 4.210526 : 262 - (v - 160) / 0.5;
    const int top = int(y);
    return top < 48 ? 48 : top > BAR_BOTTOM ? BAR_BOTTOM : top;
}

int load_bar_top(int load) {
    static const int steps[][2] = {{5, 280},  {10, 260}, {20, 240}, {30, 220}, {40, 200}, {50, 180},
                                   {60, 160}, {70, 140}, {80, 120}, {90, 100}, {100, 48}};
    int top = -1;
    for (const auto& s : steps)
        if (load > s[0]) top = s[1];
    return top;
}

int battery_bar_top(int charge) {
    static const int steps[][2] = {{0, 258},  {10, 236}, {20, 214}, {30, 192}, {40, 170},
                                   {50, 148}, {60, 126}, {70, 104}, {80, 82},  {90, 60}};
    int top = -1;
    for (const auto& s : steps)
        if (charge > s[0]) top = s[1];
    return charge >= 100 ? 48 : top;
}

int high_voltage_arrow_y(int t, int cls) {
    if (cls == 0) return t >= 125 && t <= 135 ? 120 - 4 * (t - 125) : -1;
    return t >= 240 && t <= 260 ? 100 - 2 * (t - 240) : -1;
}

int low_voltage_arrow_y(int t, int cls) {
    if (cls == 0) return t >= 90 && t <= 110 ? 260 - 4 * (t - 90) : -1;
    return t >= 170 && t <= 210 ? 240 - 2 * (t - 170) : -1;
}

int load_arrow_y(int t) {
    return 300 - 2 * t;
}

int battery_arrow_y(int t) {
    return 280 - int((t - 10) * 2.5);
}
