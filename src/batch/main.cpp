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
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef RECIBO_LOTE_PDF
    recibo::batch::WindowReceiptPdfs pdfs;
    return recibo::batch::runBatch(args, std::cin, std::cout, std::cerr, &pdfs);
#else
    return recibo::batch::runBatch(args, std::cin, std::cout, std::cerr);
#endif
}
