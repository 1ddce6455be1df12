#include "batch_test_support.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonParseError>

#include "batch/batch.h"

namespace recibo::batch::testing {

std::vector<QJsonObject> BatchRun::objects() const
{
    std::vector<QJsonObject> result;
    if (!out.empty()) {
        EXPECT_EQ(out.back(), '\n') << "the last object is not ended by a line break";
    }
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << " in: " << line;
        EXPECT_TRUE(document.isObject()) << line;
        result.push_back(document.object());
    }
    return result;
}

BatchRun runWithInput(const std::vector<std::string>& args, const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    BatchRun run;
    run.status = runBatch(args, in, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

QJsonArray linesOf(const QJsonObject& receipt)
{
    return receipt.value(u"lineas").toArray();
}

QJsonObject lineWithCode(const QJsonObject& receipt, const QString& code)
{
    for (const QJsonValue& line : linesOf(receipt))
        if (line.toObject().value(u"cod").toString() == code)
            return line.toObject();
    return {};
}

QStringList codesOf(const QJsonObject& receipt)
{
    QStringList codes;
    for (const QJsonValue& line : linesOf(receipt))
        codes << line.toObject().value(u"cod").toString();
    return codes;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

}  // namespace recibo::batch::testing
