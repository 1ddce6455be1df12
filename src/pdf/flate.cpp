#include "flate.h"

#include <stdexcept>

#include <qpdf/Pl_Flate.hh>

namespace recibo::pdf {

namespace {

struct TooLarge : std::exception {};

// Appends what it gets to a string, up to a limit.
class StringSink : public Pipeline {
public:
    StringSink(std::string& out, std::size_t largest) : Pipeline("string", nullptr), out_(out), largest_(largest) {}

    void write(unsigned char const* data, std::size_t size) override
    {
        if (size > largest_ - out_.size())
            throw TooLarge();
        out_.append(reinterpret_cast<const char*>(data), size);
    }
    void finish() override {}

private:
    std::string& out_;
    std::size_t largest_;
};

void pipe(std::string_view data, Pipeline& pipeline)
{
    pipeline.write(reinterpret_cast<unsigned char const*>(data.data()), data.size());
    pipeline.finish();
}

}  // namespace

void deflate(std::string_view data, std::string& out)
{
    out.clear();
    StringSink sink(out, std::string::npos);
    Pl_Flate flate("deflate", &sink, Pl_Flate::a_deflate);
    pipe(data, flate);
}

bool inflate(std::string_view data, std::string& out, std::size_t largest)
{
    out.clear();
    StringSink sink(out, largest);
    Pl_Flate flate("inflate", &sink, Pl_Flate::a_inflate);
    // Pl_Flate reads damaged data as far as it can and only warns.
    bool damaged = false;
    flate.setWarnCallback([&damaged](char const*, int) { damaged = true; });
    try {
        pipe(data, flate);
    } catch (const std::exception&) {
        return false;
    }
    return !damaged;
}

}  // namespace recibo::pdf
