#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rows/row_computation.h"
#include "unusable/unusable.h"

namespace recibo::payroll {
struct Receipt;
struct SelectedPosition;
}  // namespace recibo::payroll

namespace recibo::batch {

// Exit statuses of recibo-lote.
inline constexpr int kAllRowsComputed = 0;
inline constexpr int kSomeRowFailed = 1;
inline constexpr int kInputUnusable = 2;

// The printed receipts of `recibo-lote --pdf DIR` and `--pdf-unico FILE`:
// the page the desktop program prints for each computed row, one PDF file
// per row or one page per row in a single file. Used from one thread, but
// for prepare(), which the computing threads call at once.
// One file per computed row: a PDF (--pdf) or an SVG picture (--svg).
enum class PageFiles { Pdf, Svg };

class ReceiptPdfs {
public:
    virtual ~ReceiptPdfs() = default;
    // Makes `directory` ready for one file of `kind` per row, creating it
    // when missing; the receipts will carry `date` and the scale's
    // `receiptTitle`. Why it cannot take them, or nothing when it can.
    virtual Problem open(const std::string& directory, PageFiles kind, const std::string& date,
                         const std::string& receiptTitle) = 0;
    // Makes the single file `path` ready to be written, without touching a
    // file already there; the receipts will carry `date` and `receiptTitle`.
    // Why it cannot be written, or nothing when it can.
    virtual Problem openOneFile(const std::string& path, const std::string& date, const std::string& receiptTitle) = 0;
    // The part of a computed row's page that any thread may do, at once
    // with other rows (with -j), each thread with its own `worker` number
    // (from 0); nothing when there is none.
    virtual std::shared_ptr<const PreparedPage> prepare(const ComputedRow&, std::size_t /*worker*/) const
    {
        return nullptr;
    }
    // The thread of `worker` stops, before finish(): what it drew is
    // finished on it.
    virtual void stopWorker(std::size_t /*worker*/) {}
    // Writes a computed row's receipt (computed with the position chosen in
    // the selection dialog), from its prepared page when it has one. Why it
    // could not (in Spanish, one line, naming the file), or nothing when the
    // file (or the page) is complete.
    virtual std::optional<std::string> write(const ComputedRow& row) = 0;
    // The run is over: the single file is written whole when `keep` (the
    // run went through), otherwise dropped, leaving a file that was there as
    // it was. Why it could not be written, or nothing.
    virtual std::optional<std::string> finish(bool keep) = 0;
};

// recibo-lote [--locale NAME] [--pdf DIR | --pdf-unico FILE] [-j N] [FILE]:
// computes one receipt per data row of a CSV table (FILE, or `in` when FILE
// is absent or "-") and writes one JSON object per row to `out`, in the
// order of the rows; with --pdf or --pdf-unico, also each computed receipt
// to `pdfs`, in the same order. With -j N (by default, one per core), N
// threads compute the rows; the output is the same. A table that cannot be
// used, or a DIR or FILE that cannot be written, is reported in one line on
// `err` before anything is computed or written to `out`; so is a PDF option
// when `pdfs` is null (a build without the desktop program). `args` are the
// arguments after the program name.
int runBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             ReceiptPdfs* pdfs = nullptr);

}  // namespace recibo::batch
