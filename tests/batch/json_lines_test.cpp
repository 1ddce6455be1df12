#include <string>

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

#include "rows/json_lines.h"

namespace recibo::batch {
namespace {

// The escaping every JSON reader accepts, one byte at a time.
std::string escapedSlowly(const std::string& text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

TEST(JsonLines, EveryCharacterAtEveryPositionOfAText)
{
    // Bytes that need an escape and their neighbours that do not, placed at
    // each position of texts long enough to be copied in several pieces.
    const std::string specials[] = {
        "\"", "\\", std::string(1, '\0'), "\x01", "\n", "\x1f", " ", "!", "#", "[", "]", "\x7f", "é", "€", "𝄞"};
    for (const std::string& special : specials) {
        for (std::size_t length : {1u, 7u, 8u, 9u, 16u, 23u}) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string text(length, 'a');
                text.replace(at, 1, special);
                SCOPED_TRACE(escapedSlowly(text));
                JsonLines lines;
                lines.appendFailure(7, text, Unusable{"mensaje", "campo", std::string(text)});
                const std::string expected = "{\"fila\":7,\"docente\":" + escapedSlowly(text)
                    + ",\"error\":\"mensaje\",\"campo\":\"campo\",\"texto\":" + escapedSlowly(text) + "}\n";
                ASSERT_EQ(std::string(lines.text()), expected);
                const QJsonObject parsed = QJsonDocument::fromJson(QByteArray::fromStdString(expected)).object();
                EXPECT_EQ(parsed.value(u"docente").toString().toStdString(), text);
            }
        }
    }
}

TEST(JsonLines, ObjectsFollowOneAnotherAndTheBufferGrows)
{
    JsonLines lines;
    std::string expected;
    const std::string longName(5000, '"');  // escapes to twice its length
    for (std::size_t fila = 1; fila <= 200; ++fila) {
        lines.appendFailure(fila, fila % 2 ? longName : "x", Unusable{"No seleccionaste cargo ni horas"});
        expected += "{\"fila\":" + std::to_string(fila) + ",\"docente\":" + escapedSlowly(fila % 2 ? longName : "x")
            + ",\"error\":\"No seleccionaste cargo ni horas\"}\n";
    }
    EXPECT_EQ(std::string(lines.text()), expected);
    lines.clear();
    EXPECT_EQ(lines.size(), 0u);
    lines.appendFailure(1, "y", Unusable{"m"});
    EXPECT_EQ(std::string(lines.text()), "{\"fila\":1,\"docente\":\"y\",\"error\":\"m\"}\n");
}

TEST(JsonLines, ReceiptObject)
{
    payroll::Receipt receipt;
    receipt.docente = "Ana";
    receipt.header.label11 = "Cantidad de horas";
    receipt.header.numcargo = "12";
    receipt.header.punbasicos = "776.76";
    receipt.header.carsel = "Horas de nivel medio";
    receipt.lines.push_back({.code = "001",
                             .description = "Hs. N. Medio",
                             .quantity = "12",
                             .amount = "$764.4872",
                             .column = payroll::Column::Earnings,
                             .showsQuantity = true});
    receipt.lines.push_back({.code = "1010",
                             .description = "Sal fam Cony",
                             .quantity = "",
                             .amount = "$ 15",
                             .column = payroll::Column::Earnings,
                             .showsQuantity = false});
    receipt.lines.push_back({.code = "505",
                             .description = "IOSPER",
                             .quantity = "3 %",
                             .amount = "$ 1.5",
                             .column = payroll::Column::Deductions});
    receipt.thaberes = "$ 779.4872";
    receipt.tdescuentos = "$ 1.5";
    receipt.liquido = "$ 777.9872";
    JsonLines lines;
    lines.appendReceipt(3, receipt, "Escala \"nueva\"");
    EXPECT_EQ(std::string(lines.text()),
              "{\"fila\":3,\"docente\":\"Ana\",\"cabecera\":{\"Label11\":\"Cantidad de horas\",\"numcargo\":\"12\","
              "\"punbasicos\":\"776.76\",\"carsel\":\"Horas de nivel medio\"},\"lineas\":["
              "{\"cod\":\"001\",\"cantidad\":\"12\",\"descripcion\":\"Hs. N. Medio\",\"haberes\":\"$764.4872\"},"
              "{\"cod\":\"1010\",\"descripcion\":\"Sal fam Cony\",\"haberes\":\"$ 15\"},"
              "{\"cod\":\"505\",\"cantidad\":\"3 %\",\"descripcion\":\"IOSPER\",\"descuentos\":\"$ 1.5\"}],"
              "\"total_haberes\":\"$ 779.4872\",\"total_descuentos\":\"$ 1.5\",\"liquido\":\"$ 777.9872\","
              "\"escala\":\"Escala \\\"nueva\\\"\"}\n");
}

}  // namespace
}  // namespace recibo::batch
