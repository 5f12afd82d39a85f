// Print records: made from the default printer, changed by the page set-up dialog, and turned
// into the printer of a job or into the page metrics.
#include "kernel/print_record.h"

#include <QApplication>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <wyn/errmsg.h>

namespace {

constexpr char kUnit[] = "kprint";
constexpr WYN_MSG_ID kMsgInvalidRecord = 0x122000C;
constexpr WYN_MSG_ID kMsgPathTooLong = 0x1590009; // "Too many characters in path"

std::unordered_set<const PRINT_RECORD*>& live_records() {
    static std::unordered_set<const PRINT_RECORD*> records;
    return records;
}

template <size_t N> bool copy_name(char (&field)[N], const QString& name) {
    const QByteArray bytes = name.toUtf8();
    if (size_t(bytes.size()) >= N) return false;
    std::memset(field, 0, N);
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
    return true;
}

QString field_text(const char* field, size_t size) {
    return QString::fromUtf8(field, qsizetype(strnlen(field, size)));
}

bool printer_exists(const QString& name) {
    return !name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull();
}

// The record's paper, orientation and resolution on printer.
void apply_settings(const PRINT_RECORD& rec, QPrinter& printer) {
    if (rec.page_size > 0 && rec.page_size - 1 <= int(QPageSize::LastPageSize))
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(rec.page_size - 1)));
    printer.setPageOrientation(rec.orientation == 1 ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
    printer.setResolution(rec.resolution > 0 && rec.resolution <= 2400 ? rec.resolution
                                                                       : kPrintDpi);
    printer.setCopyCount(rec.copies > 1 && rec.copies <= 999 ? rec.copies : 1);
}

// Stores what the user chose on printer in rec; false (rec unchanged) when a name does not fit.
bool store_settings(PRINT_RECORD& rec, const QPrinter& printer) {
    PRINT_RECORD chosen{};
    const bool to_file = printer.outputFormat() == QPrinter::PdfFormat;
    if (to_file ? !copy_name(chosen.output, printer.outputFileName())
                : !copy_name(chosen.device, printer.printerName()))
        return false;
    chosen.page_size = int32_t(printer.pageLayout().pageSize().id()) + 1;
    chosen.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
    chosen.resolution = rec.resolution;
    chosen.copies = printer.copyCount();
    rec = chosen;
    return true;
}

void report(WYN_MSG_ID id, int line) {
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, id, kUnit, line);
}

} // namespace

std::string print_forced_file() {
    const char* file = std::getenv("WYN_PRINT_FILE");
    return file && *file ? std::string(file) : std::string();
}

bool print_record_live(const PRINT_RECORD* rec) {
    return rec && live_records().count(rec) != 0;
}

PrintTarget print_target(const PRINT_RECORD& rec) {
    PrintTarget target;
    std::string file = print_forced_file();
    const QString device = field_text(rec.device, sizeof rec.device);
    if (file.empty() && !printer_exists(device) && rec.output[0])
        file = field_text(rec.output, sizeof rec.output).toStdString();
    if (file.empty() && !printer_exists(device)) return target;
    target.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (file.empty()) {
        target.printer->setPrinterName(device);
    } else {
        target.printer->setOutputFormat(QPrinter::PdfFormat);
        target.printer->setOutputFileName(QString::fromStdString(file));
        target.file = file;
    }
    apply_settings(rec, *target.printer);
    return target;
}

PRINT_RECORD* wynk_print_create(int32_t* size) {
    auto* rec = static_cast<PRINT_RECORD*>(std::calloc(1, sizeof(PRINT_RECORD)));
    if (!rec) return nullptr;
    // Without a default printer (or with a name that does not fit) the record stays zero-filled.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull() && copy_name(rec->device, info.printerName())) {
        const QPageSize paper = info.defaultPageSize();
        if (paper.isValid()) rec->page_size = int32_t(paper.id()) + 1;
    }
    live_records().insert(rec);
    if (size) *size = int32_t(sizeof(PRINT_RECORD));
    return rec;
}

void wynk_print_destroy(PRINT_RECORD* rec) {
    if (!print_record_live(rec)) return;
    live_records().erase(rec);
    std::free(rec);
}

BOOLEAN wynv_print_is_record(const PRINT_RECORD* rec) {
    return print_record_live(rec) ? TRUE : FALSE;
}

BOOLEAN wynk_print_is_valid(const PRINT_RECORD* rec) {
    return print_record_live(rec) && print_target(*rec).printer ? TRUE : FALSE;
}

BOOLEAN wynv_dm_post_page_setup(PRINT_RECORD* rec) {
    if (!print_record_live(rec)) {
        report(kMsgInvalidRecord, __LINE__);
        return FALSE;
    }
    if (!print_forced_file().empty()) return TRUE;
    QWidget* owner = QApplication::activeWindow();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer at all: the job can still be kept as a PDF file.
        const QString file = QFileDialog::getSaveFileName(
            owner, QString(), field_text(rec->output, sizeof rec->output), "PDF (*.pdf)");
        if (file.isEmpty()) return FALSE;
        if (!copy_name(rec->output, file)) {
            report(kMsgPathTooLong, __LINE__);
            return FALSE;
        }
        rec->device[0] = '\0';
        return TRUE;
    }
    PrintTarget target = print_target(*rec);
    QPrinter printer(QPrinter::HighResolution);
    if (target.printer && target.file.empty())
        printer.setPrinterName(target.printer->printerName());
    apply_settings(*rec, printer);
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return FALSE;
    if (!store_settings(*rec, printer)) {
        report(kMsgPathTooLong, __LINE__);
        return FALSE;
    }
    return TRUE;
}

BOOLEAN wynk_print_get_page_metrics(const PRINT_RECORD* rec, int32_t* width, int32_t* height,
                                    int32_t* hres, int32_t* vres) {
    if (!print_record_live(rec)) return FALSE;
    PrintTarget target = print_target(*rec);
    if (!target.printer) return FALSE;
    const QRect page = target.printer->pageLayout().paintRectPixels(target.printer->resolution());
    if (width) *width = page.width();
    if (height) *height = page.height();
    if (hres) *hres = target.printer->resolution();
    if (vres) *vres = target.printer->resolution();
    return TRUE;
}
