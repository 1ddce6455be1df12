// recibo-lote -j N: rows computed by N threads give what one thread gives,
// byte for byte, in the table's order.

#include <gtest/gtest.h>

#include "batch/batch.h"
#include "batch_test_support.h"

namespace recibo::batch {
namespace {

using testing::BatchRun;
using testing::runWithInput;

bool operator==(const BatchRun& a, const BatchRun& b)
{
    return a.status == b.status && a.out == b.out && a.err == b.err;
}

// Several batches of rows, with rows the calculation refuses, rows whose
// cells no control takes, short rows and blank lines mixed in.
std::string mixedTable(int rows)
{
    std::string table = "docente,tipo,codcargo,numerohorasmed,antiguedad,zona,Iosper\n";
    for (int i = 1; i <= rows; ++i) {
        const std::string n = std::to_string(i);
        if (i % 7 == 0)
            table += "Docente " + n + ",jornada,,0,,,\n";  // no such kind
        else if (i % 11 == 0)
            table += "Docente " + n + ",medio,,12x,,,1\n";  // not a number
        else if (i % 13 == 0)
            table += "Docente " + n + ",medio\n\n";  // short, then a blank line
        else
            table += "Docente " + n + ",cargo," + std::to_string(600 + i % 90) + ",0," + std::to_string(i % 13) + ","
                + std::to_string(i % 5 - 1) + ",1\n";
    }
    return table;
}

TEST(BatchJobs, SameOutputAndStatusWhateverTheNumberOfThreads)
{
    const std::string table = mixedTable(2500);
    const BatchRun one = runWithInput({"--locale", "C", "-j", "1"}, table);
    ASSERT_EQ(one.status, kSomeRowFailed) << one.err;
    ASSERT_EQ(one.objects().size(), 2500u);
    for (const std::vector<std::string>& jobs : {std::vector<std::string>{"-j", "2"}, {"-j3"}, {"--trabajos=16"}, {}}) {
        std::vector<std::string> args = {"--locale", "C"};
        args.insert(args.end(), jobs.begin(), jobs.end());
        EXPECT_TRUE(runWithInput(args, table) == one) << (jobs.empty() ? "default" : jobs.front());
    }
}

TEST(BatchJobs, CommandLine)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"-j", "2"}, kAllRowsComputed},    {{"--trabajos", "256"}, kAllRowsComputed},
        {{"-j"}, kInputUnusable},           {{"-j0"}, kInputUnusable},
        {{"-j", "257"}, kInputUnusable},    {{"-j", "dos"}, kInputUnusable},
        {{"--trabajos="}, kInputUnusable},  {{"--pdf", "a", "--pdf-unico", "b.pdf"}, kInputUnusable},
        {{"--pdf-unico="}, kInputUnusable}, {{"--svg", "a", "--pdf-unico", "b.pdf"}, kInputUnusable},
        {{"--svg"}, kInputUnusable},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--locale", "C"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const BatchRun run = runWithInput(args, "docente,tipo,numerohorasmed\nAna,medio,12\n");
        EXPECT_EQ(run.status, c.status) << c.args.front() << ": " << run.err;
        if (c.status == kInputUnusable) {
            EXPECT_EQ(run.out, "") << c.args.front();
        }
    }
}

}  // namespace
}  // namespace recibo::batch
