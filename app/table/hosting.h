// The custom-control layer: child windows that carry a class name, a properties list, a private
// model record per instance and a notify channel to their parent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <wyn_checked.h>

// The event type and record kind of a notify sent to a custom control's parent: the event's
// v.user.id is the control's id and v.user.ptr points at a custom_notify that lives for the
// dispatch only.
inline constexpr int32_t custom_notify_event = E_USER;
inline constexpr int32_t custom_notify_kind = 7;

struct custom_notify {
    int32_t kind;           // custom_notify_kind
    WINDOW ctl;             // the control that sends it
    int16_t code;           // the class's own code
    const char* class_name; // the control's class
    int32_t line;
    uint8_t state;
};

// A class's preparation step: called before the control's window is made with its properties
// list (entry 0 the name); it may change the creation flags (WSF_*) and the rectangle.
using custom_prepare_fn = void (*)(int32_t prop_count, const char* const* props, uint32_t* flags,
                                   RCT* rct);

// Registers (or replaces) the event handler and preparation step of class_name; either may be
// null. A control of a class without a handler paints itself as one without an event handler.
void custom_ctl_register_class(const char* class_name, EVENT_HANDLER handler,
                               custom_prepare_fn prepare);

// Makes a custom control: a borderless child window of parent with an empty title and every event
// enabled, rectangle rct (left, top, right, bottom in the RCT's fields) after the class's
// preparation step, its own copy of the properties list, application value app_value and creation
// flags. Null when the parent is not a live window or the window cannot be made.
WINDOW custom_ctl_create(int16_t id, const RCT* rct, int32_t prop_count, const char* const* props,
                         WINDOW parent, intptr_t app_value, uint32_t flags, const char* class_name);

// The custom control with id under parent; null when there is none.
WINDOW custom_ctl_find(WINDOW parent, int16_t id);

// True when ctl is a live custom control of class_name (any class when class_name is null).
bool custom_ctl_is(WINDOW ctl, const char* class_name);

// The control's id, application value, class name and properties list (count in *count); the
// failure values -1, 0, null and null when ctl is not a custom control.
int16_t custom_ctl_id(WINDOW ctl);
intptr_t custom_ctl_app_value(WINDOW ctl);
const char* custom_ctl_class_name(WINDOW ctl);
const char* const* custom_ctl_props(WINDOW ctl, int32_t* count);

// The model record of a custom control; the layer owns it from the first request, when it is
// made value-initialised (every plain field zero), until the control is destroyed.
struct custom_model {
    virtual ~custom_model() = default;
};

// The model of ctl, made on the first request; null when ctl is not a custom control. A control
// holds one model type for its life.
custom_model* custom_ctl_model_slot(WINDOW ctl, std::unique_ptr<custom_model> (*make)());
template <class Model> Model* custom_ctl_model(WINDOW ctl) {
    return static_cast<Model*>(custom_ctl_model_slot(
        ctl, []() -> std::unique_ptr<custom_model> { return std::make_unique<Model>(); }));
}
// The model of ctl when one has been made; null otherwise.
template <class Model> Model* custom_ctl_existing_model(WINDOW ctl) {
    return static_cast<Model*>(custom_ctl_model_slot(ctl, nullptr));
}

// Sends ctl's parent a notify record with code, line and state; false (and nothing sent) when
// ctl is not a custom control or its parent is gone.
bool custom_ctl_notify(WINDOW ctl, int16_t code, int32_t line, uint8_t state);

// Hands a keyboard event that reached parent to its custom control that has the focus; the
// control's handler result, or -1 when no custom control of parent has the focus.
int32_t custom_ctl_route_key(WINDOW parent, EVENT* ev);

// Converts a rectangle from resource (dialog) units to pixels as the layer does for controls
// created without explicit pixel positions.
RCT custom_ctl_to_pixels(const RCT& units);
