/* The toolkit's basic plain types, shared by every layer and library. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(WYN_BUILDING_LIBRARY)
#define WYN_EXPORT __attribute__((visibility("default")))
#else
#define WYN_EXPORT
#endif

#ifdef __cplusplus
#define WYN_EXTERN_C extern "C"
#define WYN_BEGIN_C extern "C" {
#define WYN_END_C }
#else
#define WYN_EXTERN_C
#define WYN_BEGIN_C
#define WYN_END_C
#endif

WYN_BEGIN_C

typedef int16_t BOOLEAN; /* 16-bit truth value, TRUE = 1 */
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

/* A point: vertical, then horizontal. */
typedef struct s_pnt {
    int16_t v;
    int16_t h;
} PNT;

/* A rectangle: top, left, bottom, right. */
typedef struct s_rct {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
} RCT;

/* A colour: a standard-colour index byte above red, green and blue. */
typedef uint32_t COLOR;

/* A toolkit window object (window, dialog, control, task, screen or print window). */
struct wyn_window;
typedef struct wyn_window* WINDOW;

WYN_END_C
