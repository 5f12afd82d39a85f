/* Checked printing calls. Each forwards to the library function of the same stem once its
   arguments have passed: a null print record is reported as 0x1210001, one not made by
   wyn_print_create (or already destroyed) as 0x122000C, a null job function as 0x121000E, and
   every call that prints is refused during E_UPDATE (0x1610001). A refused call gives the failure
   value named below. */
#pragma once

#include <wyn/print.h>

WYN_BEGIN_C

/* A new print record filled from the default printer (zero-filled without one); its size goes
   to *size. Null when out of memory. */
PRINT_RECORD* wyn_print_create(int32_t* size);
/* Frees the record. */
void wyn_print_destroy(PRINT_RECORD* rec);
/* TRUE when a printer context can be made from the record; FALSE on a fault. */
BOOLEAN wyn_print_is_valid(PRINT_RECORD* rec);
/* Runs fn(data) as the print job and gives its result; FALSE on a fault, inside another job, or
   when fn left its print window open. */
BOOLEAN wyn_print_start_thread(WYN_PRINT_FN fn, intptr_t data);
/* The print window of the running job, its document titled title; null on a fault. */
WINDOW wyn_print_create_win(PRINT_RECORD* rec, const char* title);
/* Starts the next page; FALSE on a fault or once the job is cancelled or failed. */
BOOLEAN wyn_print_open_page(PRINT_RECORD* rec);
/* The next band of the open page, or null when the page is done. */
RCT* wyn_print_get_next_band(void);
/* Finishes the page; FALSE on a fault or once the job is cancelled or failed. */
BOOLEAN wyn_print_close_page(PRINT_RECORD* rec);
/* Prepares printing; TRUE. */
BOOLEAN wyn_print_open(void);
/* Ends printing, aborting a document still open. */
void wyn_print_close(void);

/* The page set-up dialog for the record; TRUE when accepted, FALSE when cancelled or on a fault. */
BOOLEAN wyn_dm_post_page_setup(PRINT_RECORD* rec);

WYN_END_C
