#pragma once

// The end of QPDFWriter's pipeline: the file in pieces to a PieceWriter.

#include <cstddef>
#include <string>

#include <qpdf/Pipeline.hh>

#include "pdf_compaction.h"

namespace recibo::pdf {

// It never throws: QPDFWriter finishes its pipelines from destructors too.
// Once the writer refuses a piece the rest is let go.
class PiecePipeline : public Pipeline {
public:
    explicit PiecePipeline(const PieceWriter& write) : Pipeline("pieces", nullptr), write_(write) {}

    void write(unsigned char const* data, std::size_t size) override;
    void finish() override;
    // Whether a piece went to the writer: after that, the file cannot be
    // left to the caller to copy.
    bool started() const { return started_; }
    bool refused() const { return refused_; }

private:
    // QPDFWriter writes a few bytes at a time: they go on in larger pieces.
    static constexpr std::size_t kPiece = 256 << 10;
    void flush();

    const PieceWriter& write_;
    std::string buffer_;
    bool started_ = false;
    bool refused_ = false;
};

}  // namespace recibo::pdf
