// Drawing of the history graph: axes, grid, labels, minima and the page's points.
#include "ui/history_graph_draw.h"

#include "ui/status_draw.h"

#include <cstdio>
#include <wyn/checked/dwin.h>

namespace {

constexpr int kPlotLeft = 40, kPlotRight = 390, kPlotBottom = 330;
constexpr int kLabelX[4] = {20, 136, 252, 368};

constexpr const char* kVoltage120[] = {"140", "130", "120", "110", "100", " 90", " 80", " 70",
                                       " 60", " 50", " 40", " 30", " 20", " 10", "  0"};
constexpr const char* kVoltage230[] = {"280", "270", "260", "250", "240", "230", "220", "210",
                                       "200", "190", "180", "170", "160", "150", "  0"};
constexpr const char* kBattery[] = {"100", " 90", " 80", " 70", " 60", " 50",
                                    " 40", " 30", " 20", " 10", "  0"};

class painter {
  public:
    painter(WINDOW win, bool on_screen) : win_(win), on_screen_(on_screen) {}

    int c(int v) const { return graph_coord(v, on_screen_); }
    PNT point(int x, int y) const { return PNT{int16_t(c(y)), int16_t(c(x))}; }

    // Paper is white: what is white or yellow on the blue screen is printed black.
    void text(int x, int y, const char* s, COLOR color = COLOR_WHITE) const {
        wyn_dwin_set_fore_color(win_, on_screen_ ? color : COLOR_BLACK);
        wyn_dwin_draw_text(win_, c(x), c(y), s, -1);
    }
    void pen(COLOR color) const {
        const DRAW_CPEN p{1, PAT_SOLID, PS_SOLID_LINE, color};
        wyn_dwin_set_cpen(win_, &p);
    }
    void brush(COLOR color) const {
        const DRAW_CBRUSH b{PAT_SOLID, color};
        wyn_dwin_set_cbrush(win_, &b);
    }
    void rect(int left, int top, int right, int bottom) const {
        const RCT r{int16_t(c(top)), int16_t(c(left)), int16_t(c(bottom)), int16_t(c(right))};
        wyn_dwin_draw_rect(win_, &r);
    }
    void line(int x1, int y1, int x2, int y2) const {
        const PNT from = point(x1, y1), to = point(x2, y2);
        wyn_dwin_draw_set_pos(win_, &from);
        wyn_dwin_draw_line(win_, &to);
    }
    WINDOW win() const { return win_; }
    bool on_screen() const { return on_screen_; }

  private:
    WINDOW win_;
    bool on_screen_;
};

template <size_t N> void y_labels(const painter& p, const char* const (&labels)[N], int first_y) {
    for (size_t i = 0; i < N; ++i) p.text(10, first_y + int(20 * i), labels[i]);
}

// The headings, the minimum on paper and the y labels of the chosen graph.
void draw_scale(const painter& p, const graph_view& v) {
    const graph_data& d = *v.data;
    const char* name = v.battery ? "Battery Percentage" : "Line Voltage";
    if (p.on_screen()) {
        p.text(v.battery ? 175 : 155, 390, name, COLOR_YELLOW);
    } else {
        char buf[128];
        if (v.battery)
            std::snprintf(buf, sizeof buf, "Min Batt Percent: %d", d.min_battery);
        else
            std::snprintf(buf, sizeof buf, "Min Line Voltage: %d", d.min_voltage);
        p.text(175, 410, buf);
        const bool all = v.day.empty() || v.day == GRAPH_ALL_DAYS;
        std::snprintf(buf, sizeof buf, "%s (%s)", name, v.day.c_str());
        p.text(175, 390, all ? name : buf);
    }
    if (v.battery)
        y_labels(p, kBattery, 130);
    else
        y_labels(p, v.voltage_class == 0 ? kVoltage120 : kVoltage230, 50);
}

void draw_plot_area(const painter& p, const graph_view& v) {
    const int top = v.battery ? 110 : 30;
    if (p.on_screen()) {
        p.pen(COLOR_LTGRAY);
        p.brush(COLOR_LTGRAY);
        p.rect(kPlotLeft, top, kPlotRight, kPlotBottom);
    } else {
        // Paper stays white: the area is outlined instead of filled.
        p.pen(COLOR_BLACK);
        p.line(kPlotLeft, top, kPlotLeft, kPlotBottom);
        p.line(kPlotLeft, kPlotBottom, kPlotRight, kPlotBottom);
        p.line(kPlotRight, kPlotBottom, kPlotRight, top);
        p.line(kPlotRight, top, kPlotLeft, top);
    }
    // On paper white grid lines would vanish; they are drawn grey there.
    p.pen(p.on_screen() ? COLOR_WHITE : COLOR_GRAY);
    const int first = v.battery ? 110 : 50;
    const int lines = v.battery ? 11 : 14;
    for (int i = 0; i < lines; ++i) p.line(kPlotLeft, first + 20 * i, kPlotRight, first + 20 * i);
    p.pen(p.on_screen() ? COLOR_WHITE : COLOR_BLACK);
    p.line(151, 325, 151, kPlotBottom);
    p.line(267, 325, 267, kPlotBottom);
}

// The page's labels and its points joined in order, the page's last point included.
void draw_page(const painter& p, const graph_view& v) {
    const graph_data& d = *v.data;
    const long first = long(v.page) * GRAPH_PAGE_RECORDS;
    if (!d.present || v.page < 0 || first >= d.records) return;
    char buf[32];
    if (p.on_screen()) {
        if (v.battery) {
            std::snprintf(buf, sizeof buf, "Min Batt Percent: %d", d.min_battery);
            p.text(455, 215, buf);
        } else {
            std::snprintf(buf, sizeof buf, "Min Line Voltage: %d", d.min_voltage);
            p.text(450, 215, buf);
        }
    }
    for (int i = 0; i < 4; ++i) {
        const size_t label = size_t(v.page) * 4 + size_t(i);
        if (label >= d.time_labels.size()) break;
        p.text(kLabelX[i], 350, d.time_labels[label].c_str());
        p.text(kLabelX[i], 370, d.date_labels[label].c_str());
    }
    const std::vector<PNT>& points = v.battery ? d.battery_points : d.voltage_points;
    const long end = std::min<long>(first + GRAPH_PAGE_RECORDS, d.records);
    p.pen(COLOR_BLACK);
    std::vector<PNT> line;
    line.reserve(size_t(end - first));
    for (long i = first; i < end; ++i) line.push_back(p.point(points[i].h, points[i].v));
    if (line.size() >= 2) wyn_dwin_draw_polyline(p.win(), line.data(), int(line.size()));
}

} // namespace

int graph_coord(int c, bool on_screen) {
    return on_screen ? status_scaled(c) : c * 5;
}

void graph_draw(WINDOW win, bool on_screen, const graph_view& view) {
    static const graph_data no_data;
    graph_view v = view;
    if (!v.data) v.data = &no_data;
    const painter p(win, on_screen);
    DRAW_CTOOLS tools;
    wyn_dwin_get_draw_ctools(win, &tools);
    tools.opaque_text = FALSE;
    wyn_dwin_set_draw_ctools(win, &tools);
    if (on_screen) {
        p.pen(COLOR_WHITE);
        p.brush(COLOR_BLUE);
        p.rect(7, 1, 625, 415);
        p.text(460, 90, "Select Day to Graph", COLOR_YELLOW);
    } else {
        p.text(165, 15, "VoltSentry Plus History Graph");
        char buf[96];
        std::snprintf(buf, sizeof buf, "Workstation Name: %s", v.workstation.c_str());
        p.text(175, 440, buf);
    }
    draw_scale(p, v);
    draw_plot_area(p, v);
    if (on_screen) p.text(465, 295, "Scroll Data Keys", COLOR_YELLOW);
    draw_page(p, v);
}
