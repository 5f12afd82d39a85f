// The print record's layout and the printer it stands for: what the page set-up stores, and the
// QPrinter made from it for a job or for the page metrics.
#pragma once

#include <QPrinter>
#include <memory>
#include <string>
#include <wyn/print.h>

// The record's bytes. Zero-filled means "no printer chosen": the default paper of the device,
// portrait, the library's resolution.
struct wyn_print_record {
    char device[256];     // printer name; empty when none is chosen
    char output[768];     // PDF file the user chose when printing to a file; empty otherwise
    int32_t page_size;    // QPageSize::PageSizeId + 1; 0 for the device's default
    int32_t orientation;  // 0 portrait, 1 landscape
    int32_t resolution;   // dots per inch; 0 for the library's
    int32_t copies;       // 0 or 1: one copy
    int32_t reserved[18]; // room the record's size keeps free
};
static_assert(sizeof(wyn_print_record) == WYN_PRINT_RECORD_SIZE);

// The resolution every job is laid out for unless the record says otherwise: the callers draw a
// page in device pixels, so the same figure gives the same page on every printer.
inline constexpr int kPrintDpi = 300;

// Where a job's output goes.
struct PrintTarget {
    std::unique_ptr<QPrinter> printer;
    std::string file; // the PDF file the job writes, empty for a real printer
};

// The file every job writes instead of printing (the environment's WYN_PRINT_FILE), or empty.
std::string print_forced_file();

// True for a live record made by wynk_print_create.
bool print_record_live(const PRINT_RECORD* rec);

// A printer set up from rec, not yet started; no printer when rec names none that exists and no
// file is to be written.
PrintTarget print_target(const PRINT_RECORD& rec);
