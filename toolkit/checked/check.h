// What every checked call shares: the API mark held for the length of the call, the reports the
// layer makes under its own source names, and the validity tests of its arguments.
#pragma once

#include <initializer_list>
#include <source_location>
#include <wyn/errmsg.h>
#include <wyn/image.h>
#include <wyn/slist.h>
#include <wyn/win.h>

namespace wyn_checked {

// Source names the layer reports under, one per area.
inline constexpr char kApp[] = "tapp";
inline constexpr char kTimer[] = "ttimer";
inline constexpr char kVobj[] = "tvobj";
inline constexpr char kWin[] = "twin";
inline constexpr char kDlg[] = "tdlg";
inline constexpr char kCtl[] = "tctl";
inline constexpr char kList[] = "tlist";
inline constexpr char kSbar[] = "tsbar";
inline constexpr char kRes[] = "tres";
inline constexpr char kMem[] = "tmem";
inline constexpr char kSlist[] = "tslist";
inline constexpr char kStr[] = "tstr";
inline constexpr char kFsys[] = "tfsys";
inline constexpr char kRect[] = "trect";
inline constexpr char kScr[] = "tscr";
inline constexpr char kDm[] = "tdm";
inline constexpr char kDwin[] = "tdwin";
inline constexpr char kFont[] = "tfont";
inline constexpr char kCxo[] = "tcxo";
inline constexpr char kErrmsg[] = "terrmsg";

// A set of window or control types (WT_*): bit t stands for type t.
using TypeSet = uint32_t;

constexpr TypeSet type_set(std::initializer_list<int> types) {
    TypeSet set = 0;
    for (int t : types) set |= TypeSet{1} << t;
    return set;
}

// True when type is one of set.
constexpr bool in_set(int32_t type, TypeSet set) {
    return type >= 0 && type < 32 && (set & (TypeSet{1} << type)) != 0;
}

// What operations on windows accept: document, plain, double-bordered, task, borderless, modal
// window and both dialogs.
inline constexpr TypeSet kWindowTypes = type_set(
    {WT_DOC, WT_PLAIN, WT_DBL, WT_TASK, WT_NO_BORDER, WT_MODAL, WT_MODAL_DLG, WT_MODELESS_DLG});
// What may hold new windows: the window types and the screen window.
inline constexpr TypeSet kParentTypes = kWindowTypes | type_set({WT_SCREEN});
// Controls, all of them and by the operations they serve.
inline constexpr TypeSet kControlTypes = type_set(
    {WT_PUSH_BUTTON, WT_RADIO_BUTTON, WT_CHECK_BOX, WT_HSCROLL, WT_VSCROLL, WT_EDIT, WT_TEXT,
     WT_LIST_BOX, WT_LIST_BUTTON, WT_LIST_EDIT, WT_GROUP_BOX, WT_TEXT_EDIT, WT_ICON});
inline constexpr TypeSet kListTypes = type_set({WT_LIST_BOX, WT_LIST_BUTTON, WT_LIST_EDIT});
inline constexpr TypeSet kEditTypes = type_set({WT_EDIT, WT_LIST_EDIT});
inline constexpr TypeSet kCheckTypes = type_set({WT_RADIO_BUTTON, WT_CHECK_BOX});
inline constexpr TypeSet kScrollTypes = type_set({WT_HSCROLL, WT_VSCROLL});
// Any live window object, whatever its type.
inline constexpr TypeSet kAnyType = ~TypeSet{0};
// Every object but the screen window, which cannot be changed through the layer.
inline constexpr TypeSet kObjectTypes = kAnyType & ~type_set({WT_SCREEN});

// The type a window object reports: its own, or WT_TEXT_EDIT for a text-edit control.
int32_t window_type(WINDOW win);

// True when a rectangle's right lies left of its left or its bottom above its top; sides at the
// native default are not compared.
bool rect_inverted(const RCT& r);

// Convenience for the default argument of every check.
using Where = std::source_location;

// One checked call: marks the function for its lifetime and reports the faults found meanwhile.
// Every check returns false once it has reported, so a call reads as a chain of conditions.
class Call {
  public:
    Call(const char* function, const char* unit);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    // Names target in the reports that follow (a control whose own arguments are checked next).
    void aim_at(void* target) { target_ = target; }

    // Reports id as an error; returns false.
    bool fail(WYN_MSG_ID id, Where where = Where::current()) const;
    // Reports id as an error and returns value, the caller's failure value.
    template <typename T> T fail_as(T value, WYN_MSG_ID id, Where where = Where::current()) const {
        fail(id, where);
        return value;
    }
    // Reports id as a warning; the call goes on.
    void warn(WYN_MSG_ID id, Where where = Where::current()) const;

    // Refuses the call while an E_UPDATE is processed.
    bool outside_update(Where where = Where::current()) const;
    // A live window object whose type is in allowed: one not destroyed, or one whose own
    // E_DESTROY is being delivered.
    bool window(WINDOW win, TypeSet allowed, Where where = Where::current()) const;
    // A live object that can be drawn in: a task, top-level, child, print or dialog window, never
    // a text edit.
    bool drawable(WINDOW win, Where where = Where::current()) const;
    // A live image (null and dead ones reported as the image family's).
    bool image(IMAGE image, Where where = Where::current()) const;
    // A live control whose type is in allowed; later reports name it as their target.
    bool control(WINDOW ctl, TypeSet allowed, Where where = Where::current());
    // A pointer the function cannot do without (null reports id).
    bool given(const void* p, WYN_MSG_ID id = WYN_MSG_NULL_HANDLE,
               Where where = Where::current()) const;
    // A function the call cannot do without (null reports id).
    template <typename R, typename... Args>
    bool given_fn(R (*fn)(Args...), WYN_MSG_ID id = WYN_MSG_NULL_HANDLE,
                  Where where = Where::current()) const {
        return fn != nullptr || fail(id, where);
    }
    // A live font object.
    bool font(struct wyn_font* font, Where where = Where::current()) const;
    // A live font that is mapped to a native font.
    bool mapped_font(struct wyn_font* font, Where where = Where::current()) const;
    // A live string list.
    bool slist(SLIST list, Where where = Where::current()) const;
    // A size or count of at least min.
    bool at_least(long long value, long long min, Where where = Where::current()) const;

  private:
    const char* unit_;
    void* target_ = nullptr;
};

} // namespace wyn_checked

// Most checked functions are written as rows of a table, one row a function:
//   MARKED(unit, name, params, target, args)
//   CHECKED(unit, name, params, checks, failure, target, args)
// Each defines name(params) as its header declares it, returning what target returns. The
// function marks its name for the reports made while it runs, reporting under unit; a CHECKED
// function then tests its arguments with checks, a condition written with c (the call) that has
// reported when it is false, and returns failure (void() for a function without a result). Both
// then forward args to target, the library function.
// clang-format off
#define MARKED(unit, name, params, target, args)                                                   \
    auto name params -> decltype(target args) {                                                    \
        ::wyn_checked::Call c(__func__, unit);                                                     \
        return target args;                                                                        \
    }
#define CHECKED(unit, name, params, checks, failure, target, args)                                 \
    auto name params -> decltype(target args) {                                                    \
        ::wyn_checked::Call c(__func__, unit);                                                     \
        if (!(checks)) return failure;                                                             \
        return target args;                                                                        \
    }
// clang-format on
