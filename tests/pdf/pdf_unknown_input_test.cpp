// What recibo_pdf does not know it leaves alone: no piece written, the
// caller copies the file as it is.

#include <string>

#include <gtest/gtest.h>

#include "pdf/pdf_compaction.h"

namespace recibo::pdf {
namespace {

// A file of the objects given, numbered from 1, with its table and a
// trailer of `trailer` entries: well formed, whatever its pages are.
std::string fileOf(const std::vector<std::string>& objects, const std::string& trailer)
{
    std::string file = "%PDF-1.4\n";
    std::string table = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", file.size());
        table += entry;
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t start = file.size();
    return file + table + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " " + trailer + " >>\nstartxref\n"
        + std::to_string(start) + "\n%%EOF\n";
}

const std::string kCatalog = "<< /Type /Catalog /Pages 2 0 R >>";
const std::string kPages = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";
const std::string kContents = "<< /Length 3 >>\nstream\nq Q\nendstream";

TEST(PdfUnknownInput, IsLeftAlone)
{
    const std::string page = "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << >> /MediaBox [0 0 10 10] >>";
    const std::string known = fileOf({kCatalog, kPages, page, kContents}, "/Root 1 0 R");
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"no PDF", "recibo de haberes"},
        {"cut short", known.substr(0, known.size() / 2)},
        {"updated", fileOf({kCatalog, kPages, page, kContents}, "/Root 1 0 R /Prev 9")},
        {"encrypted", fileOf({kCatalog, kPages, page, kContents}, "/Root 1 0 R /Encrypt 1 0 R")},
        {"table offset wrong",
         [&] {
             std::string moved = known;
             moved.replace(moved.find("0000000009 00000 n"), 10, "0000000011");
             return moved;
         }()},
        {"resources inherited",
         fileOf({kCatalog, kPages, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /MediaBox [0 0 10 10] >>", kContents},
                "/Root 1 0 R")},
        {"a page listed twice",
         fileOf({kCatalog, "<< /Type /Pages /Kids [3 0 R 3 0 R] /Count 2 >>", page, kContents}, "/Root 1 0 R")},
        {"page tree in a loop",
         fileOf({kCatalog, "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 2 >>", page, kContents}, "/Root 1 0 R")},
        {"no pages", fileOf({kCatalog, "<< /Type /Pages /Kids [] /Count 0 >>"}, "/Root 1 0 R")},
        {"contents in several streams",
         fileOf({kCatalog, kPages,
                 "<< /Type /Page /Parent 2 0 R /Contents [4 0 R 4 0 R] /Resources << >> /MediaBox [0 0 10 10] >>",
                 kContents},
                "/Root 1 0 R")},
        {"stream length wrong",
         fileOf({kCatalog, kPages, page, "<< /Length 30 >>\nstream\nq Q\nendstream"}, "/Root 1 0 R")},
        {"contents filtered otherwise",
         fileOf({kCatalog, kPages, page, "<< /Length 3 /Filter /LZWDecode >>\nstream\nq Q\nendstream"}, "/Root 1 0 R")},
        {"resources that disagree",
         fileOf({kCatalog, "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 2 >>",
                 "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /Font << /F1 7 0 R >> >> "
                 "/MediaBox [0 0 10 10] >>",
                 kContents,
                 "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources << /Font << /F1 8 0 R >> >> "
                 "/MediaBox [0 0 10 10] >>",
                 kContents, "<< /Type /Font >>", "<< /Type /Font >>"},
                "/Root 1 0 R")},
    };
    for (const Case& c : cases) {
        int pieces = 0;
        EXPECT_EQ(compactPdf(c.file, [&](std::string_view) { return ++pieces, true; }), Compaction::Unchanged)
            << c.what;
        EXPECT_EQ(pieces, 0) << c.what;
    }
    // The same file, sound, is known: the cases fail for what they change.
    // So are books whose page tree has levels, or whose page resources
    // something else refers to: they stay for it.
    const std::string others[] = {
        fileOf({kCatalog, "<< /Type /Pages /Kids [5 0 R] /Count 1 >>", page, kContents,
                "<< /Type /Pages /Parent 2 0 R /Kids [3 0 R] /Count 1 >>"},
               "/Root 1 0 R"),
        fileOf({"<< /Type /Catalog /Pages 2 0 R /Extra 5 0 R >>", kPages,
                "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources 5 0 R /MediaBox [0 0 10 10] >>", kContents,
                "<< >>"},
               "/Root 1 0 R"),
    };
    EXPECT_EQ(compactPdf(known, [](std::string_view) { return true; }), Compaction::Written);
    for (const std::string& file : others)
        EXPECT_EQ(compactPdf(file, [](std::string_view) { return true; }), Compaction::Written);
}

// A page whose content does not inflate is written as it was, byte for
// byte, among pages that are compacted.
TEST(PdfUnknownInput, APageItCannotReadIsCopiedAsItWas)
{
    const std::string damaged = "these bytes are no deflated data";
    const std::string file =
        fileOf({kCatalog, "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 2 >>",
                "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << >> /MediaBox [0 0 10 10] >>", kContents,
                "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources << >> /MediaBox [0 0 10 10] >>",
                "<< /Length " + std::to_string(damaged.size()) + " /Filter /FlateDecode >>\nstream\n" + damaged
                    + "\nendstream"},
               "/Root 1 0 R");
    std::string written;
    EXPECT_EQ(compactPdf(file, [&](std::string_view piece) { return written.append(piece), true; }),
              Compaction::Written);
    EXPECT_NE(written.find(damaged), std::string::npos);
}

}  // namespace
}  // namespace recibo::pdf
