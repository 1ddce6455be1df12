#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch.h"
#ifdef RECIBO_LOTE_PDF
#include "batch/receipt_pdfs.h"
#endif

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // A reader that stops reading (recibo-lote T | head -1) is a failed write
    // like a full disk: said, and status 2, not a silent end by signal.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef RECIBO_LOTE_PDF
    recibo::batch::SheetReceiptPdfs pdfs;
    return recibo::batch::runBatch(args, std::cin, std::cout, std::cerr, &pdfs);
#else
    return recibo::batch::runBatch(args, std::cin, std::cout, std::cerr);
#endif
}
