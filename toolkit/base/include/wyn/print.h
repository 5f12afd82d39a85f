/* Printing: print records, the print job run inside a guarded call, the print window with its
   status dialog, pages and bands, the page set-up dialog and the page metrics. */
#pragma once

#include <wyn/win.h>

WYN_BEGIN_C

/* The size of a print record in bytes. */
#define WYN_PRINT_RECORD_SIZE 1112

/* The code of wynk_app_escape that gives a print record's page metrics:
   wynk_app_escape(WYN_ESCAPE_PAGE_METRICS, PRINT_RECORD* rec, int32_t* width, int32_t* height,
                   int32_t* hres, int32_t* vres) fills what wynk_print_get_page_metrics does. */
#define WYN_ESCAPE_PAGE_METRICS 4000

/* A print record: the chosen printer (or PDF file) and the print settings, held in
   WYN_PRINT_RECORD_SIZE bytes whose layout is the library's own. */
typedef struct wyn_print_record PRINT_RECORD;

/* The body of a print job: run by wynk_print_start_thread with the data given there; its result
   is the job's. */
typedef BOOLEAN (*WYN_PRINT_FN)(intptr_t data);

/* The application function attribute 10004 may hold: called with each new print window, the
   printer context of this platform, before its document starts. */
typedef void (*WYN_PRINT_HOOK)(WINDOW print_win);

/* A new print record filled from the default printer, zero-filled when there is none; its size
   in bytes goes to *size when size is given. Null when out of memory. Belongs to the caller
   until wynk_print_destroy. */
WYN_EXPORT PRINT_RECORD* wynk_print_create(int32_t* size);

/* Frees a record made by wynk_print_create; anything else (null included) is ignored. */
WYN_EXPORT void wynk_print_destroy(PRINT_RECORD* rec);

/* TRUE when rec is a live record made by wynk_print_create (whatever it holds). */
WYN_EXPORT BOOLEAN wynv_print_is_record(const PRINT_RECORD* rec);

/* TRUE when a printer context can be made from rec: it names an installed printer or a PDF file,
   or the environment variable WYN_PRINT_FILE names the file every job writes. */
WYN_EXPORT BOOLEAN wynk_print_is_valid(const PRINT_RECORD* rec);

/* The page set-up: lets the user choose the printer (or a PDF file), the paper and the
   orientation, and stores the choice in rec. Without any printer a file dialog asks for the PDF
   file. With WYN_PRINT_FILE set nothing is shown and the set-up counts as accepted. TRUE when
   accepted, FALSE when cancelled or rec is no record. */
WYN_EXPORT BOOLEAN wynv_dm_post_page_setup(PRINT_RECORD* rec);

/* Runs fn(data) at once on the calling thread inside a fresh error frame, as the print job, and
   returns its result. A job started while one runs is reported and gives FALSE without calling
   fn; a print window still open when fn returns is reported, destroyed (its document aborted)
   and the result is FALSE. */
WYN_EXPORT BOOLEAN wynk_print_start_thread(WYN_PRINT_FN fn, intptr_t data);

/* TRUE while a print job runs (inside wynk_print_start_thread). */
WYN_EXPORT BOOLEAN wynk_print_is_running(void);

/* Opens the print window of a job: starts the document titled title ("(Untitled)" when empty or
   null) on rec's printer, or on the file WYN_PRINT_FILE names, and shows the status dialog with
   its Cancel button. Only inside a job and only one at a time; null (reported) otherwise or when
   the document cannot be started. The window draws through the drawing calls like any window;
   wynk_vobj_destroy ends the document, or aborts it when it was cancelled or failed (a PDF file
   is then not written). */
WYN_EXPORT WINDOW wynk_print_create_win(PRINT_RECORD* rec, const char* title);

/* Starts the next page (the first page on the first call). Refused (reported, FALSE) outside a
   job or without a print window; FALSE once the job is cancelled or failed. */
WYN_EXPORT BOOLEAN wynk_print_open_page(PRINT_RECORD* rec);

/* The next band of the open page to draw, or null when the page is done: the printers of this
   system do not band, so the first call after opening a page gives the whole printable page
   (from 0, 0) and the next gives null. The rectangle stays the library's until the next call. */
WYN_EXPORT RCT* wynk_print_get_next_band(void);

/* Finishes the open page. Refused like wynk_print_open_page; FALSE once the job is cancelled
   (the Cancel button was pressed) or failed, TRUE otherwise. */
WYN_EXPORT BOOLEAN wynk_print_close_page(PRINT_RECORD* rec);

/* Number of pages opened by the current print window; 0 without one. */
WYN_EXPORT int32_t wynk_print_get_page_count(void);

/* Prepares printing for the process; TRUE. Printing also works without it. */
WYN_EXPORT BOOLEAN wynk_print_open(void);

/* Ends printing for the process: a print window still open is destroyed, its document aborted. */
WYN_EXPORT void wynk_print_close(void);

/* The page metrics of rec's printer: the printable width and height of the page in device
   pixels, the band the print window hands out, and the horizontal and vertical resolution in
   dots per inch. Each out-pointer may be null. FALSE (nothing filled) when no printer context can
   be made from rec. Lines per page of a listing = *height / line height. */
WYN_EXPORT BOOLEAN wynk_print_get_page_metrics(const PRINT_RECORD* rec, int32_t* width,
                                               int32_t* height, int32_t* hres, int32_t* vres);

WYN_END_C
