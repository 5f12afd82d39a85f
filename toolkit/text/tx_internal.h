// The text edit library's shared internals: the record, positions, paragraph blocks, the
// per-process state and the functions the units offer one another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <wyn/dwin.h>
#include <wyn/errmsg.h>
#include <wyn/mem.h>
#include <wyn/text.h>

namespace tx {

constexpr uint32_t kSignature = 31987;
constexpr uint16_t kStateHidden = 0x1;    // highlight and caret not shown
constexpr uint16_t kStateSuspended = 0x2; // nothing drawn, no scroll call-back
constexpr uint16_t kStateWordDrag = 0x4;  // dragging extends by words
constexpr int kBlockLimit = 32767;        // bytes of a paragraph block or a line table
constexpr uint32_t kMaxParBytes = 65534;

// Severities of the error framework.
constexpr int16_t kWarning = 2;
constexpr int16_t kFatal = 3;

// A place in the text: paragraph, line in it, character in the line, and that character's x
// from the line's start. The end of one wrapped line and the start of the next are the same
// text place but different positions.
struct pos {
    uint16_t par = 0;
    uint16_t line = 0;
    uint16_t ch = 0;
    uint16_t x = 0;
};
inline bool pos_same(const pos& a, const pos& b) {
    return a.par == b.par && a.line == b.line && a.ch == b.ch;
}
inline bool pos_before(const pos& a, const pos& b) {
    if (a.par != b.par) return a.par < b.par;
    if (a.line != b.line) return a.line < b.line;
    return a.ch < b.ch;
}

// A text place as paragraph and byte offset, what edits work in.
struct place {
    uint16_t par = 0;
    uint32_t off = 0;
};
inline bool place_before(const place& a, const place& b) {
    return a.par != b.par ? a.par < b.par : a.off < b.off;
}
inline bool place_same(const place& a, const place& b) {
    return a.par == b.par && a.off == b.off;
}

// The head of a paragraph's movable text block; the terminated text follows it.
struct par_block {
    uint32_t state;
    uint32_t length;        // bytes of text
    uint16_t capacity;      // bytes of room for text and terminator
    GHANDLE line_handle;    // line table: byte offset of each line's start
    uint16_t* lines;        // the line table, locked while the block lives
    uint16_t line_capacity; // entries
    char* text() { return reinterpret_cast<char*>(this + 1); }
    const char* text() const { return reinterpret_cast<const char*>(this + 1); }
};

// One paragraph-table entry.
struct par_entry {
    uint16_t lines;
    uint16_t reserved;
    GHANDLE handle;    // the paragraph's text block
    par_block* block;  // that block, locked while the paragraph lives
};

// A text edit record, kept in a movable block of its own.
struct record {
    uint32_t signature;
    uint32_t slot;
    uint16_t attr;
    uint16_t state;
    WINDOW win;
    WINDOW notify;
    RCT view;
    RCT rect;
    FONT font;
    uint16_t margin;
    uint16_t limit;
    int32_t cid;
    intptr_t data;
    pos anchor;
    pos end;
    pos hl_start;
    pos hl_end;
    uint16_t hor;
    uint16_t org_par;
    uint16_t org_line;
    int32_t total;
    uint16_t line_height;
    uint16_t ascent;
    uint16_t descent;
    uint16_t leading;
    uint16_t avg_width;
    uint16_t npars;
    GHANDLE par_handle;
    par_entry* pars; // the paragraph table, locked while the record lives
    uint32_t par_capacity;
    WYN_TX_SCROLL_FN scroll_fn;
    COLOR text_color;
    COLOR back_color;
    COLOR border_color;
    uint16_t colors_fixed;
    COLOR color_list[7]; // the fixed colours as a hosted child's control colours
    uint16_t tab;
    TX app_handle; // the text edit as the application knows it
    int32_t deleting; // a backspace or delete key is being handled
};

// One handle-table slot.
struct slot {
    WINDOW win; // null: free
    RCT rct;
    GHANDLE handle;
    record* locked;
    uint16_t flags; // kSlotActive
    int32_t locks;
    bool doomed; // destroyed while locked: released with the last unlock
};
constexpr uint16_t kSlotActive = 0x1;

// A hosted text edit: its own child window inside the application's window.
struct host {
    uint32_t engine;
    int32_t cid;
    WINDOW child;
    WINDOW parent;
    CXO cxo;
};

// The library's per-process state.
struct state {
    uint32_t tracking; // slot following the mouse, 0 for none
    place mouse_place; // the word first selected by a double click
    place word_anchor_end;
    GHANDLE slot_handle;
    slot* slots;
    uint32_t nslots;
    GHANDLE scratch_handle; // line starts while a paragraph is broken into lines
    uint16_t* scratch;
    uint32_t scratch_capacity;
    uint32_t open_slot; // paragraph opened for line reading
    uint16_t open_par;
    bool scroll_update;
    bool raw;
    bool key_flag; // attribute 713: a key's own virtual flag counts
    bool modes_read;
    bool clip_has_text;
    GHANDLE host_handle;
    host* hosts;
    uint32_t nhosts;
    uint32_t suspensions; // times drawing was suspended, for tests and benchmarks
    uint32_t line_draws;  // lines drawn, for tests and benchmarks
    PNT caret;            // where the caret was put last
    bool caret_shown;
};

// The state, made on first use and released when the toolkit's static data is.
state& st();
// Reads attributes 713 and 718 once.
void read_modes();

// Reports error id through the error framework with the unit and line it was raised in.
void report(int16_t severity, WYN_MSG_ID id, const char* unit, int line);

// A locked text edit record for the length of an operation; empty when the handle is invalid
// (reported as 0x1740001 unless quiet).
class ref {
  public:
    ref() = default;
    explicit ref(TX tx, bool quiet = false);
    static ref of_slot(uint32_t slot);
    ~ref();
    ref(const ref&) = delete;
    ref& operator=(const ref&) = delete;
    ref(ref&& other) noexcept : slot_(other.slot_), rec_(other.rec_) {
        other.slot_ = 0;
        other.rec_ = nullptr;
    }
    explicit operator bool() const { return rec_ != nullptr; }
    record* operator->() const { return rec_; }
    record& operator*() const { return *rec_; }
    uint32_t slot_number() const { return slot_; }

  private:
    void acquire(uint32_t n);
    uint32_t slot_ = 0;
    record* rec_ = nullptr;
};

// Slot of a text edit handle (0 when none), and the handle of a slot.
uint32_t slot_of(TX tx);
// The slot's entry, or null for a number outside the table or a free slot.
slot* slot_at(uint32_t n);

// The rectangle grown by 1 pixel on each side.
inline RCT grown_by_one(RCT r) {
    return RCT{int16_t(r.top - 1), int16_t(r.left - 1), int16_t(r.bottom + 1), int16_t(r.right + 1)};
}

// The text area of an outer rectangle: inset by 4 pixels with a border.
RCT view_of(const RCT& outer, uint16_t attr);

// --- memory (tx_layout.cpp) ---

// Allocates a locked movable block; null (0x1510002 reported) when out of memory.
void* block_new(GHANDLE& handle, size_t size);
// Resizes a locked block, keeping its contents; null (reported) leaves it as it was.
void* block_resize(GHANDLE& handle, size_t size);
// Unlocks and frees a block.
void block_free(GHANDLE& handle);

// --- text model and layout (tx_layout.cpp) ---

// Copies font into the record, measures it and binds it to the window.
void measure_font(record& r, FONT font);
// The width of n bytes of s starting at x0 pixels from the line start, tabs to their stops.
int measure(const record& r, const char* s, uint32_t n, int x0);
// Lines that fit in the view (at least 1).
int visible_lines(const record& r);
// The width lines are broken to.
int wrap_width(const record& r);

// The paragraph's block; the caller checks par < npars.
inline par_block& block(const record& r, uint16_t par) {
    return *r.pars[par].block;
}
// Byte offsets of a line's start and end.
uint32_t line_start(const record& r, uint16_t par, uint16_t line);
uint32_t line_end(const record& r, uint16_t par, uint16_t line);
// Characters in a line.
uint16_t line_chars(const record& r, uint16_t par, uint16_t line);
// Bytes of the character at s, at least 1 and at most left.
uint32_t char_bytes(const char* s, uint32_t left);
// Characters in n bytes of s.
uint32_t count_chars(const char* s, uint32_t n);
// Bytes of the first n characters of s, within left bytes.
uint32_t chars_bytes(const char* s, uint32_t left, uint32_t n);

// A position from its paragraph, line and character (each clamped), with its x.
pos make_pos(const record& r, uint16_t par, uint16_t line, uint16_t ch);
// The text place of a position, and the position of a text place (the start of the next line
// when it is where two lines meet).
place place_of(const record& r, const pos& p);
pos pos_of(const record& r, const place& pl);
// The position at the end of the text (zero without paragraphs).
pos text_end(const record& r);

// Line numbers counted from the top of the text, and back.
int32_t line_index(const record& r, uint16_t par, uint16_t line);
bool line_at(const record& r, int32_t index, uint16_t& par, uint16_t& line);

// Inserts a paragraph holding len bytes of text before index par; false (reported) when the
// paragraph or the table cannot be made.
bool par_insert(record& r, uint16_t par, const char* text, uint32_t len);
// Removes paragraph par and releases its block.
void par_remove(record& r, uint16_t par);
// Replaces bytes [from, to) of a paragraph by len bytes of text and breaks it into lines again;
// false (reported, nothing changed) when the block or its line table would be too large.
bool par_replace(record& r, uint16_t par, uint32_t from, uint32_t to, const char* text,
                 uint32_t len);
// Breaks paragraph par into lines again from line `from`, keeps the positions valid, redraws
// what changed and reports a changed line total; false (reported) when the line table cannot
// grow. Capped, a paragraph with more lines than the table takes keeps the rest on its last.
bool layout(record& r, uint16_t par, uint16_t from, bool capped = false);
// True when the paragraph's line table is what breaking it from its start gives.
bool lines_fresh(const record& r, uint16_t par);
// Lays out every paragraph again.
void layout_all(record& r);
// Releases every paragraph.
void pars_free(record& r);
// Puts every stored position back inside the text.
void clamp_positions(record& r);

// --- drawing (tx_draw.cpp) ---

// Saves the window's tools, font and clipping and sets the text edit's for the scope's length.
class draw_scope {
  public:
    draw_scope(const record& r, bool for_drawing);
    ~draw_scope();
    draw_scope(const draw_scope&) = delete;
    draw_scope& operator=(const draw_scope&) = delete;

  private:
    WINDOW win_;
    bool drawing_;
    DRAW_CTOOLS tools_{};
    bool have_tools_ = false;
    FONT font_ = nullptr;
    RCT clip_{};
};

// True when the text edit may draw now.
bool can_draw(const record& r);
// Paints the whole text edit.
void draw_all(record& r);
// Draws the visible rows from first to last (view rows, counted from 0), inclusive.
void draw_rows(record& r, int first, int last);
// Draws the rows the lines of a paragraph stand in, from line `from` on.
void draw_par_lines(record& r, uint16_t par, uint16_t from, uint16_t to);
// Redraws what changed between the drawn highlight and the selection.
void update_highlight(record& r);
// Places, shows or hides the caret as the state says.
void update_caret(record& r);
// Invalidates the rectangle grown by 1 pixel.
void invalidate(const record& r);

// --- scrolling (tx_scroll.cpp) ---

// Scrolls by whole lines (negative: towards the top); returns the lines scrolled.
int32_t scroll_lines(record& r, int32_t lines);
// Scrolls by pixels rounded up to whole lines.
void scroll_pixels(record& r, int32_t pixels);
// Scrolls horizontally: the origin grows by pixels within its limits.
void scroll_hor(record& r, int32_t pixels);
// Scrolls the caret into view as attributes 0x4 and 0x8 allow.
void show_caret_place(record& r);
// Scrolls so that point (x, y) of the window is in view, as attributes allow.
void show_point(record& r, int x, int y, int mx, int my);
// Calls the scroll call-back; -1 for what has not changed.
void report_scroll(record& r, int32_t vert, int32_t total, int32_t hor);
// The lines above the first visible one.
int32_t origin_index(const record& r);
// Suspends and resumes drawing.
void suspend(record& r);
void resume(record& r);

// --- editing (tx_edit.cpp) ---

// Handles a character event for the text edit.
void handle_key(record& r, const EVENT& ev);
// Handles a menu command; true when it was one of the Edit items.
bool handle_command(record& r, int16_t tag);
// Sets the selection as wynv_tx_set_sel does.
void set_selection(record& r, uint16_t ap, uint16_t al, uint16_t ac, uint16_t ep, uint16_t el,
                   uint16_t ec);
// Sets anchor and end and redraws the highlight.
void select(record& r, const pos& anchor, const pos& end);
// The selection as text places, start first.
void sel_places(const record& r, place& from, place& to);
// Inserts text at the caret, as typing and pasting do (limit applied); false when refused.
bool insert_at_caret(record& r, const char* text, uint32_t len);
// Deletes the selection; false when refused.
bool delete_selection(record& r);
// Updates the Edit menu items of the text edit's top-level window.
void update_menu(record& r);
// Mouse handling: press (double when dbl), drag and release.
void mouse_down(record& r, PNT where, bool shift, bool dbl);
void mouse_move(record& r, PNT where);
void mouse_up(record& r);
// The position under a point of the window.
pos point_pos(const record& r, PNT where);
// Sends the change notification of a hosted text edit with its two details.
void notify_change(record& r, int16_t focus_change, int16_t active);

// --- handles and events (tx_handles.cpp) ---

// Creates a text edit; the handle as the application knows it, or null.
TX create(WINDOW win, const RCT& rct, uint16_t attr, FONT font, int16_t margin, uint16_t limit,
          int32_t cid, intptr_t data);
// Destroys the text edit of slot n.
void destroy_slot(uint32_t n);
// Makes the text edit of the slot the active one of its window.
void make_active(uint32_t n);
// The active slot of a window (0 for none).
uint32_t active_slot(WINDOW win);
// Hosted: the record of the focus object's text edit; raw: of the focus window's active one.
uint32_t focus_slot();
// The engine's event handling for a window's text edits; true when consumed.
bool process(WINDOW win, EVENT& ev);
// The host of a hosted child window, or null.
host* host_of_child(WINDOW child);
// Applies attributes 0x4000 and 0x8000 to a hosted child.
void apply_host_state(record& r);

// --- consistency (tx_check.cpp) ---

// Empty when the text edit's line tables, selection, origin and line total agree with one
// another and with a fresh layout; else what is wrong.
const char* check_consistency(TX tx);

} // namespace tx

#define TX_REPORT(sev, id) ::tx::report((sev), (id), kUnit, __LINE__)
