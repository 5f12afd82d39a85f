// The resource script reader: tokens, declarations and the checks that tie them together.
#include "script.h"

#include <strings.h>

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "xpm.h"

namespace wynrc {

std::string ScriptError::text() const {
    return file + ":" + std::to_string(line) + ": error: " + message;
}

namespace {

struct Token {
    enum Kind { end, word, number, string, punct } kind = end;
    std::string text;
    int64_t value = 0;
    int line = 0;
};

// Thrown inside the reader and turned into a ScriptError at its boundary.
struct Fault {
    int line;
    std::string message;
};

class Lexer {
  public:
    explicit Lexer(const std::string& text) : s_(text) {}

    std::vector<Token> run() {
        std::vector<Token> out;
        for (;;) {
            skip_blanks();
            Token t;
            t.line = line_;
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const char c = s_[i_];
            if (c == '"') {
                t.kind = Token::string;
                t.text = quoted();
            } else if (std::isdigit(uint8_t(c))) {
                t.kind = Token::number;
                t.value = number(t.text);
            } else if (std::isalpha(uint8_t(c)) || c == '_' || c == '#') {
                t.kind = Token::word;
                t.text.push_back(s_[i_++]);
                while (i_ < s_.size() && (std::isalnum(uint8_t(s_[i_])) || s_[i_] == '_'))
                    t.text.push_back(s_[i_++]);
            } else if (c == ',' || c == '|' || c == '{' || c == '}' || c == '-') {
                t.kind = Token::punct;
                t.text = std::string(1, c);
                ++i_;
            } else {
                throw Fault{line_, std::string("unexpected character '") + c + "'"};
            }
            out.push_back(t);
        }
    }

  private:
    void skip_blanks() {
        while (i_ < s_.size()) {
            if (s_[i_] == '\n') {
                ++line_;
                ++i_;
            } else if (std::isspace(uint8_t(s_[i_]))) {
                ++i_;
            } else if (s_.compare(i_, 2, "//") == 0) {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
            } else if (s_.compare(i_, 2, "/*") == 0) {
                const int start = line_;
                i_ += 2;
                while (i_ < s_.size() && s_.compare(i_, 2, "*/") != 0) line_ += s_[i_++] == '\n';
                if (i_ >= s_.size()) throw Fault{start, "comment is not closed"};
                i_ += 2;
            } else {
                return;
            }
        }
    }

    std::string quoted() {
        const int start = line_;
        std::string out;
        ++i_;
        for (;;) {
            if (i_ >= s_.size() || s_[i_] == '\n')
                throw Fault{start, "string is not closed on its line"};
            const char c = s_[i_++];
            if (c == '"') {
                if (i_ < s_.size() &&
                    s_[i_] == '"') { // "" stands for one quote, as in the usual scripts
                    out.push_back('"');
                    ++i_;
                    continue;
                }
                return out;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (i_ >= s_.size()) throw Fault{start, "string is not closed"};
            const char e = s_[i_++];
            switch (e) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case '"':
                out.push_back('"');
                break;
            case '0':
                out.push_back('\0');
                break;
            default:
                throw Fault{line_, std::string("unknown escape \\") + e};
            }
        }
    }

    int64_t number(std::string& text) {
        int base = 10;
        if (s_.compare(i_, 2, "0x") == 0 || s_.compare(i_, 2, "0X") == 0) {
            base = 16;
            i_ += 2;
        }
        int64_t value = 0;
        size_t digits = 0;
        while (i_ < s_.size() && std::isxdigit(uint8_t(s_[i_])) &&
               (base == 16 || std::isdigit(uint8_t(s_[i_])))) {
            value =
                value * base +
                (std::isdigit(uint8_t(s_[i_])) ? s_[i_] - '0' : std::tolower(s_[i_]) - 'a' + 10);
            if (value > UINT32_MAX) throw Fault{line_, "number is too large"};
            text.push_back(s_[i_++]);
            ++digits;
        }
        if (digits == 0 || (i_ < s_.size() && (std::isalnum(uint8_t(s_[i_])) || s_[i_] == '_')))
            throw Fault{line_, "malformed number"};
        return value;
    }

    const std::string& s_;
    size_t i_ = 0;
    int line_ = 1;
};

bool same(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

struct Named {
    const char* name;
    uint32_t value;
};

constexpr Named kControlFlagNames[] = {
    {"DEFAULT", CTL_FLAG_DEFAULT},
    {"BS_DEFPUSHBUTTON", CTL_FLAG_DEFAULT},
    {"DISABLED", CTL_FLAG_DISABLED},
    {"WS_DISABLED", CTL_FLAG_DISABLED},
    {"CHECKED", CTL_FLAG_CHECKED},
    {"MULTISEL", CTL_FLAG_MULTI_SEL},
    {"LBS_MULTIPLESEL", CTL_FLAG_MULTI_SEL},
    {"HIDDEN", CTL_FLAG_INVISIBLE},
    {"READONLY", CTL_FLAG_READ_ONLY},
    {"ES_READONLY", CTL_FLAG_READ_ONLY},
    {"PASSWORD", CTL_FLAG_PASSWORD},
    {"ES_PASSWORD", CTL_FLAG_PASSWORD},
    {"SORTED", CTL_FLAG_SORTED},
    {"LBS_SORT", CTL_FLAG_SORTED},
    {"CBS_SORT", CTL_FLAG_SORTED},
    // Styles the toolkit decides for itself; accepted so that familiar scripts read unchanged.
    {"WS_TABSTOP", 0},
    {"WS_GROUP", 0},
    {"WS_BORDER", 0},
    {"ES_AUTOHSCROLL", 0},
    {"WS_VSCROLL", 0},
};
constexpr Named kWindowFlagNames[] = {
    {"HSCROLL", WSF_HSCROLL},        {"VSCROLL", WSF_VSCROLL},     {"INVISIBLE", WSF_INVISIBLE},
    {"NOACTIVATE", WSF_NO_ACTIVATE}, {"MINIMIZED", WSF_MINIMIZED}, {"MAXIMIZED", WSF_MAXIMIZED},
    {"NOMENUBAR", WSF_NO_MENUBAR},
};
constexpr Named kWindowTypeNames[] = {
    {"DOC", WT_DOC},     {"PLAIN", WT_PLAIN}, {"DOUBLE", WT_DBL}, {"NOBORDER", WT_NO_BORDER},
    {"MODAL", WT_MODAL},
};
constexpr Named kUnitNames[] = {
    {"PIXELS", WU_PIXELS}, {"CHARS", WU_CHARS}, {"DIALOG", WU_DLG_UNITS}};
constexpr Named kClassNames[] = {
    {"PUSHBUTTON", WT_PUSH_BUTTON},
    {"RADIOBUTTON", WT_RADIO_BUTTON},
    {"CHECKBOX", WT_CHECK_BOX},
    {"HSCROLL", WT_HSCROLL},
    {"VSCROLL", WT_VSCROLL},
    {"EDIT", WT_EDIT},
    {"TEXT", WT_TEXT},
    {"LISTBOX", WT_LIST_BOX},
    {"LISTBUTTON", WT_LIST_BUTTON},
    {"LISTEDIT", WT_LIST_EDIT},
    {"GROUPBOX", WT_GROUP_BOX},
    {"ICON", WT_ICON},
};
constexpr Named kComboKinds[] = {{"CBS_DROPDOWNLIST", WT_LIST_BUTTON},
                                 {"CBS_DROPDOWN", WT_LIST_EDIT}};
constexpr Named kScrollKinds[] = {{"SBS_HORZ", WT_HSCROLL}, {"SBS_VERT", WT_VSCROLL}};
constexpr Named kVirtualKeys[] = {
    {"VK_BACK", 0x08},  {"VK_TAB", 0x09},    {"VK_RETURN", 0x0D}, {"VK_ESCAPE", 0x1B},
    {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21},  {"VK_NEXT", 0x22},   {"VK_END", 0x23},
    {"VK_HOME", 0x24},  {"VK_LEFT", 0x25},   {"VK_UP", 0x26},     {"VK_RIGHT", 0x27},
    {"VK_DOWN", 0x28},  {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E}, {"VK_F1", 0x70},
    {"VK_F2", 0x71},    {"VK_F3", 0x72},     {"VK_F4", 0x73},     {"VK_F5", 0x74},
    {"VK_F6", 0x75},    {"VK_F7", 0x76},     {"VK_F8", 0x77},     {"VK_F9", 0x78},
    {"VK_F10", 0x79},   {"VK_F11", 0x7A},    {"VK_F12", 0x7B},
};

template <size_t N> const Named* lookup(const Named (&table)[N], const std::string& name) {
    for (const Named& n : table)
        if (same(name, n.name)) return &n;
    return nullptr;
}

class Parser {
  public:
    Parser(std::vector<Token> tokens, std::string name, std::string base_dir, Script& script)
        : t_(std::move(tokens)), name_(std::move(name)), base_(std::move(base_dir)),
          script_(script) {}

    void run() {
        while (peek().kind != Token::end) {
            const Token head = next();
            if (head.kind == Token::word && same(head.text, "#define")) {
                define();
            } else if (head.kind == Token::word && same(head.text, "STRINGTABLE")) {
                string_table();
            } else if (head.kind == Token::word || head.kind == Token::number) {
                declaration(head);
            } else {
                throw Fault{head.line, "expected a resource declaration"};
            }
        }
    }

  private:
    const Token& peek() const { return t_[pos_]; }
    const Token& next() {
        const Token& t = t_[pos_];
        if (t.kind != Token::end) ++pos_;
        return t;
    }
    [[noreturn]] void fail(const std::string& message) const { throw Fault{peek().line, message}; }
    bool at_word(const char* w) const { return peek().kind == Token::word && same(peek().text, w); }
    bool at_punct(char c) const { return peek().kind == Token::punct && peek().text[0] == c; }
    bool accept_punct(char c) {
        if (!at_punct(c)) return false;
        next();
        return true;
    }
    void comma() {
        if (!accept_punct(',')) fail("expected ','");
    }
    void open_block() {
        if (at_word("BEGIN") || at_punct('{'))
            next();
        else
            fail("expected BEGIN");
    }
    bool close_block() {
        if (at_word("END") || at_punct('}')) {
            next();
            return true;
        }
        if (peek().kind == Token::end) fail("missing END");
        return false;
    }
    Origin origin(int line) const { return Origin{name_, line}; }

    std::string text() {
        if (peek().kind != Token::string) fail("expected a string");
        return next().text;
    }

    // A number, a defined name, or a negated one.
    int64_t value() {
        const bool negative = accept_punct('-');
        const Token& t = peek();
        int64_t v = 0;
        if (t.kind == Token::number) {
            v = t.value;
        } else if (t.kind == Token::word && defines_.count(t.text)) {
            v = defines_.at(t.text);
        } else {
            fail(t.kind == Token::word ? "unknown name '" + t.text + "'" : "expected a number");
        }
        next();
        return negative ? -v : v;
    }

    int64_t ranged(int64_t lo, int64_t hi, const char* what) {
        const int line = peek().line;
        const int64_t v = value();
        if (v < lo || v > hi)
            throw Fault{line, std::string(what) + " " + std::to_string(v) + " is out of range " +
                                  std::to_string(lo) + " to " + std::to_string(hi)};
        return v;
    }
    uint16_t id() { return uint16_t(ranged(0, 65535, "id")); }
    int16_t coord() { return int16_t(ranged(-32768, 32767, "coordinate")); }
    // A control id: -1 (as labels use) is 65535.
    uint16_t control_id() { return uint16_t(ranged(-1, 65535, "control id")); }

    // The name goes into the program's header too, so it must be a C identifier.
    void define() {
        if (peek().kind != Token::word) fail("expected a name after #define");
        const int line = peek().line;
        const std::string name = next().text;
        if (name[0] == '#') throw Fault{line, "'" + name + "' is not a name a C header can carry"};
        const int64_t v = value();
        defines_[name] = v;
        script_.defines.push_back(Define{origin(line), name, v});
    }

    // Flags joined by '|': names from table, numbers, or NOT name.
    template <size_t N>
    uint32_t flags(const Named (&table)[N], uint32_t start, uint32_t hidden_bit) {
        uint32_t out = start;
        do {
            const bool negate = at_word("NOT") && (next(), true);
            if (peek().kind == Token::number) {
                const uint32_t v = uint32_t(next().value);
                out = negate ? out & ~v : out | v;
                continue;
            }
            if (peek().kind != Token::word) fail("expected a flag");
            const std::string name = peek().text;
            if (hidden_bit != 0 && (same(name, "WS_VISIBLE") || same(name, "VISIBLE"))) {
                next();
                out = negate ? out | hidden_bit : out & ~hidden_bit;
                continue;
            }
            const Named* n = lookup(table, name);
            if (n == nullptr) fail("unknown flag '" + name + "'");
            next();
            out = negate ? out & ~n->value : out | n->value;
        } while (accept_punct('|'));
        return out;
    }

    void string_table() {
        open_block();
        while (!close_block()) {
            const int line = peek().line;
            const uint16_t key = id();
            accept_punct(',');
            if (!script_.strings.emplace(key, text()).second)
                throw Fault{line, "string " + std::to_string(key) + " is defined twice"};
        }
    }

    void declaration(const Token& head) {
        if (peek().kind != Token::word) fail("expected a resource kind after '" + head.text + "'");
        const Token kind = next();
        const bool named = head.kind == Token::word && !defines_.count(head.text);
        const int64_t number = named                        ? 0
                               : head.kind == Token::number ? head.value
                                                            : defines_.at(head.text);
        if (!named && (number < 1 || number > 65535))
            throw Fault{head.line,
                        "resource id " + std::to_string(number) + " is out of range 1 to 65535"};
        const uint16_t rid = uint16_t(number);
        const bool named_ok = same(kind.text, "MENU") || same(kind.text, "ICON");
        if (named && !named_ok)
            throw Fault{head.line,
                        kind.text + " resources need a number, not the name '" + head.text + "'"};

        if (same(kind.text, "MENU"))
            menu(head, named, rid);
        else if (same(kind.text, "DIALOG"))
            window(head.line, rid, true);
        else if (same(kind.text, "WINDOW"))
            window(head.line, rid, false);
        else if (same(kind.text, "ACCELERATORS"))
            accelerators(head.line, rid);
        else if (same(kind.text, "ICON"))
            icon(head, named, rid);
        else if (same(kind.text, "STRINGLIST"))
            string_list(head.line, rid);
        else if (same(kind.text, "FONT"))
            font(head.line, rid);
        else
            throw Fault{kind.line, "unknown resource kind '" + kind.text + "'"};
    }

    // Separators and pop-ups without a tag get one counted down from just below the standard tags,
    // because a tag of 0 would end the item array.
    int16_t spare_tag() { return int16_t(MENU_TAG_STANDARD - 1 - spare_++); }

    void menu_items(std::vector<MenuItem>& items, int depth) {
        if (depth > 8) fail("menus are nested too deeply");
        open_block();
        while (!close_block()) {
            MenuItem item;
            if (at_word("MENUITEM") || at_word("POPUP")) {
                item.popup = at_word("POPUP");
                next();
            } else {
                fail("expected MENUITEM or POPUP");
            }
            if (!item.popup && at_word("SEPARATOR")) {
                next();
                item.tag = spare_tag();
                item.flags = MENU_FLAG_SEPARATOR;
                items.push_back(item);
                continue;
            }
            item.text = text();
            const bool tagged = accept_punct(',') &&
                                (peek().kind == Token::number || at_punct('-') ||
                                 (peek().kind == Token::word && defines_.count(peek().text) != 0));
            if (tagged) {
                const int line = peek().line;
                item.tag = int16_t(ranged(-32768, 32767, "menu tag"));
                if (item.tag == 0)
                    throw Fault{line, "menu tag 0 is reserved for the end of a menu"};
                accept_punct(',');
            } else if (item.popup) {
                item.tag = spare_tag();
            } else {
                fail("MENUITEM needs a tag");
            }
            while (peek().kind == Token::word && !at_word("BEGIN") && !at_word("END") &&
                   !at_word("MENUITEM") && !at_word("POPUP")) {
                const std::string opt = next().text;
                if (same(opt, "GRAYED") || same(opt, "DISABLED") || same(opt, "INACTIVE"))
                    item.flags &= ~MENU_FLAG_ENABLED;
                else if (same(opt, "CHECKED"))
                    item.flags |= MENU_FLAG_CHECKED | MENU_FLAG_CHECKABLE;
                else if (same(opt, "CHECKABLE"))
                    item.flags |= MENU_FLAG_CHECKABLE;
                else
                    fail("unknown menu option '" + opt + "'");
                accept_punct(',');
            }
            if (item.popup) menu_items(item.items, depth + 1);
            items.push_back(std::move(item));
        }
    }

    void menu(const Token& head, bool named, uint16_t rid) {
        Menu m;
        m.origin = origin(head.line);
        m.name = named ? head.text : "";
        m.id = rid;
        spare_ = 0;
        menu_items(m.items, 0);
        script_.menus.push_back(std::move(m));
    }

    void geometry(int16_t& x, int16_t& y, int16_t& w, int16_t& h) {
        x = coord();
        comma();
        y = coord();
        comma();
        w = coord();
        comma();
        h = coord();
    }

    void window(int line, uint16_t rid, bool dialog) {
        Window win;
        win.origin = origin(line);
        win.id = rid;
        win.dialog = dialog;
        win.type = dialog ? WT_MODAL_DLG : WT_DOC;
        win.units = dialog ? WU_DLG_UNITS : WU_PIXELS;
        geometry(win.x, win.y, win.w, win.h);
        for (;;) {
            if (at_word("CAPTION")) {
                next();
                win.caption = text();
            } else if (at_word("MODELESS") && dialog) {
                next();
                win.type = WT_MODELESS_DLG;
            } else if (at_word("UNITS")) {
                next();
                win.units = int32_t(named_value(kUnitNames, "units"));
            } else if (at_word("TYPE") && !dialog) {
                next();
                win.type = int32_t(named_value(kWindowTypeNames, "window type"));
            } else if (at_word("MENU") && !dialog) {
                next();
                win.menu = id();
            } else if (at_word("STYLE")) {
                next();
                win.flags = dialog ? uint32_t(value()) : flags(kWindowFlagNames, win.flags, 0);
            } else {
                break;
            }
        }
        open_block();
        while (!close_block()) win.controls.push_back(control());
        script_.windows.push_back(std::move(win));
    }

    template <size_t N> uint32_t named_value(const Named (&table)[N], const char* what) {
        if (peek().kind != Token::word) fail(std::string("expected ") + what);
        const Named* n = lookup(table, peek().text);
        if (n == nullptr) fail(std::string("unknown ") + what + " '" + peek().text + "'");
        next();
        return n->value;
    }

    void control_flags(Control& c) {
        if (accept_punct(',')) c.flags = flags(kControlFlagNames, c.flags, CTL_FLAG_INVISIBLE);
    }

    // "text", id, x, y, w, h [, flags]
    void labelled(Control& c) {
        c.text = text();
        comma();
        c.id = control_id();
        comma();
        geometry(c.x, c.y, c.w, c.h);
        control_flags(c);
    }

    // id, x, y, w, h [, flags]
    void unlabelled(Control& c) {
        c.id = control_id();
        comma();
        geometry(c.x, c.y, c.w, c.h);
    }

    Control control() {
        if (peek().kind != Token::word) fail("expected a control statement");
        const Token kw = next();
        Control c;
        const std::string& k = kw.text;
        if (same(k, "PUSHBUTTON") || same(k, "DEFPUSHBUTTON")) {
            c.type = WT_PUSH_BUTTON;
            c.flags = same(k, "DEFPUSHBUTTON") ? CTL_FLAG_DEFAULT : 0;
            labelled(c);
        } else if (same(k, "LTEXT") || same(k, "RTEXT") || same(k, "CTEXT")) {
            c.type = WT_TEXT;
            labelled(c);
        } else if (same(k, "GROUPBOX")) {
            c.type = WT_GROUP_BOX;
            labelled(c);
        } else if (same(k, "CHECKBOX") || same(k, "AUTOCHECKBOX")) {
            c.type = WT_CHECK_BOX;
            labelled(c);
        } else if (same(k, "RADIOBUTTON") || same(k, "AUTORADIOBUTTON")) {
            c.type = WT_RADIO_BUTTON;
            labelled(c);
        } else if (same(k, "EDITTEXT") || same(k, "LISTBOX")) {
            c.type = same(k, "EDITTEXT") ? WT_EDIT : WT_LIST_BOX;
            unlabelled(c);
            control_flags(c);
        } else if (same(k, "COMBOBOX")) {
            c.type = WT_LIST_BUTTON;
            unlabelled(c);
            typed_flags(c, kComboKinds);
        } else if (same(k, "SCROLLBAR")) {
            c.type = WT_HSCROLL;
            unlabelled(c);
            typed_flags(c, kScrollKinds);
        } else if (same(k, "ICON")) {
            icon_control(c);
        } else if (same(k, "TEXTEDIT")) {
            text_edit(c);
        } else if (same(k, "CONTROL")) {
            // CONTROL "text", id, class, flags, x, y, w, h
            c.text = text();
            comma();
            c.id = control_id();
            comma();
            c.type = int32_t(named_value(kClassNames, "control class"));
            comma();
            c.flags = flags(kControlFlagNames, 0, CTL_FLAG_INVISIBLE);
            comma();
            geometry(c.x, c.y, c.w, c.h);
        } else {
            throw Fault{kw.line, "unknown control statement '" + k + "'"};
        }
        return c;
    }

    // Optional style words that choose the control's type (as CBS_DROPDOWN or SBS_VERT do), then
    // flags.
    template <size_t N> void typed_flags(Control& c, const Named (&kinds)[N]) {
        if (!accept_punct(',')) return;
        do {
            const Named* kind = peek().kind == Token::word ? lookup(kinds, peek().text) : nullptr;
            if (kind == nullptr) {
                c.flags = flags(kControlFlagNames, c.flags, CTL_FLAG_INVISIBLE);
                return;
            }
            next();
            c.type = int32_t(kind->value);
        } while (accept_punct('|'));
    }

    // ICON icon-id, id, x, y [, w, h]
    void icon_control(Control& c) {
        c.type = WT_ICON;
        c.extra = id();
        comma();
        c.id = control_id();
        comma();
        c.x = coord();
        comma();
        c.y = coord();
        if (accept_punct(',')) {
            c.w = coord();
            comma();
            c.h = coord();
            control_flags(c);
        }
    }

    // TEXTEDIT id, x, y, w, h, margin, limit [, font-id [, attributes]]
    void text_edit(Control& c) {
        c.type = WT_TEXT_EDIT;
        unlabelled(c);
        comma();
        c.margin = id();
        comma();
        c.limit = id();
        if (accept_punct(',')) {
            c.extra = id();
            if (accept_punct(',')) c.attrs = uint32_t(ranged(0, UINT32_MAX, "attributes"));
        }
    }

    void accelerators(int line, uint16_t rid) {
        AccelTable table;
        table.origin = origin(line);
        table.id = rid;
        open_block();
        while (!close_block()) {
            WYN_RES_ACCEL key{};
            const int at = peek().line;
            bool is_char = false;
            if (peek().kind == Token::string) {
                const std::string k = next().text;
                if (k.size() == 2 && k[0] == '^' && std::isalpha(uint8_t(k[1])))
                    key.key = uint16_t(std::toupper(uint8_t(k[1])) - 'A' + 1);
                else if (k.size() == 1)
                    key.key = uint8_t(k[0]);
                else
                    throw Fault{at, "an accelerator key is one character or ^ and a letter"};
                is_char = true;
            } else if (peek().kind == Token::word && lookup(kVirtualKeys, peek().text)) {
                key.key = uint16_t(lookup(kVirtualKeys, next().text)->value);
                key.flags |= ACC_VIRTKEY;
            } else {
                key.key = id();
            }
            comma();
            key.cmd = id();
            while (accept_punct(',')) {
                const std::string opt = peek().kind == Token::word ? next().text : "";
                if (same(opt, "VIRTKEY"))
                    key.flags |= ACC_VIRTKEY;
                else if (same(opt, "ASCII"))
                    key.flags &= ~ACC_VIRTKEY;
                else if (same(opt, "SHIFT"))
                    key.flags |= ACC_SHIFT;
                else if (same(opt, "CONTROL"))
                    key.flags |= ACC_CONTROL;
                else if (same(opt, "ALT"))
                    key.flags |= ACC_ALT;
                else
                    throw Fault{at, "unknown accelerator option '" + opt + "'"};
            }
            if (is_char && (key.flags & ACC_VIRTKEY) && key.key >= 'a' && key.key <= 'z')
                key.key = uint16_t(key.key - 'a' + 'A'); // virtual keys of letters are the capitals
            table.keys.push_back(key);
        }
        script_.accels.push_back(std::move(table));
    }

    void icon(const Token& head, bool named, uint16_t rid) {
        Icon ic;
        ic.origin = origin(head.line);
        ic.name = named ? head.text : "";
        ic.id = rid;
        const int line = peek().line;
        const std::string file = text();
        const std::string path = !file.empty() && file[0] == '/' ? file : base_ + file;
        std::string message;
        if (!read_xpm(path, ic.xpm, message)) throw Fault{line, message};
        script_.icons.push_back(std::move(ic));
    }

    void string_list(int line, uint16_t rid) {
        StringList list;
        list.origin = origin(line);
        list.id = rid;
        open_block();
        while (!close_block()) {
            list.items.push_back(text());
            accept_punct(',');
        }
        script_.string_lists.push_back(std::move(list));
    }

    // id FONT size, "family", "native" [, style]
    void font(int line, uint16_t rid) {
        Font f;
        f.origin = origin(line);
        f.id = rid;
        f.size = int16_t(ranged(1, 32767, "font size"));
        comma();
        f.family = text();
        comma();
        f.native = text();
        if (accept_punct(',')) f.style = uint32_t(ranged(0, UINT32_MAX, "font style"));
        if (f.family.size() > 63 || f.native.size() > 127)
            throw Fault{line, "font family or descriptor is too long"};
        script_.fonts.push_back(std::move(f));
    }

    std::vector<Token> t_;
    size_t pos_ = 0;
    std::string name_;
    std::string base_;
    Script& script_;
    std::map<std::string, int64_t> defines_;
    int spare_ = 0;
};

} // namespace

bool parse_script_text(const std::string& text, const std::string& name,
                       const std::string& base_dir, Script& script, ScriptError& error) {
    try {
        Parser parser(Lexer(text).run(), name, base_dir, script);
        parser.run();
        return true;
    } catch (const Fault& fault) {
        error = ScriptError{name, fault.line, fault.message};
        return false;
    }
}

bool parse_script_file(const std::string& path, Script& script, ScriptError& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = ScriptError{path, 0, "cannot open the script"};
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return parse_script_text(text.str(), path, base, script, error);
}

bool check_script(const Script& script, ScriptError& error) {
    // One header carries the names of every script, so a name keeps one value across them all;
    // giving it again with the same value is how a second script uses it.
    std::map<std::string, const Define*> names;
    for (const Define& d : script.defines) {
        const auto [at, fresh] = names.emplace(d.name, &d);
        const Define& first = *at->second;
        if (fresh || first.value == d.value) continue;
        error = ScriptError{d.origin.file, d.origin.line,
                            "name '" + d.name + "' is defined as " + std::to_string(d.value) +
                                " here but as " + std::to_string(first.value) + " at " +
                                first.origin.file + ":" + std::to_string(first.origin.line)};
        return false;
    }
    std::set<std::pair<int, std::string>> seen;
    auto once = [&](const Origin& at, int kind, const std::string& key, const char* what) {
        if (seen.emplace(kind, key).second) return true;
        error = ScriptError{at.file, at.line, std::string(what) + " " + key + " is defined twice"};
        return false;
    };
    auto upper = [](std::string s) {
        for (char& c : s) c = char(std::toupper(uint8_t(c)));
        return s;
    };
    for (const Menu& m : script.menus) {
        if (!once(m.origin, 0, m.name.empty() ? std::to_string(m.id) : upper(m.name), "menu"))
            return false;
        if (m.items.empty()) {
            error = ScriptError{m.origin.file, m.origin.line, "menu has no items"};
            return false;
        }
    }
    for (const Window& w : script.windows) {
        // Windows and dialogs are looked up by type, but a program names each number once.
        if (!once(w.origin, 1, std::to_string(w.id), w.dialog ? "dialog" : "window")) return false;
    }
    for (const AccelTable& a : script.accels)
        if (!once(a.origin, 2, std::to_string(a.id), "accelerator table")) return false;
    for (const Icon& i : script.icons)
        if (!once(i.origin, 3, i.name.empty() ? std::to_string(i.id) : upper(i.name), "icon"))
            return false;
    for (const StringList& l : script.string_lists)
        if (!once(l.origin, 4, std::to_string(l.id), "string list")) return false;
    for (const Font& f : script.fonts)
        if (!once(f.origin, 6, std::to_string(f.id), "font")) return false;
    return true;
}

} // namespace wynrc
