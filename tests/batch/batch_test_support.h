#pragma once

#include <streambuf>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonObject>

namespace recibo::batch::testing {

struct BatchRun {
    int status = -1;
    std::string out;
    std::string err;
    // Each line of `out` parsed as one JSON object; a test fails when a line
    // is not one.
    std::vector<QJsonObject> objects() const;
};

// recibo-lote with these arguments, reading `input` as standard input.
BatchRun runWithInput(const std::vector<std::string>& args, const std::string& input);

// The lines of a receipt object, and one of them by its code (the first).
QJsonArray linesOf(const QJsonObject& receipt);
QJsonObject lineWithCode(const QJsonObject& receipt, const QString& code);
QStringList codesOf(const QJsonObject& receipt);

std::string readWholeFile(const std::string& path);

// A standard output that cannot be written, as on a full disk.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace recibo::batch::testing
