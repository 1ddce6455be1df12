#include "piece_pipeline.h"

namespace recibo::pdf {

void PiecePipeline::write(unsigned char const* data, std::size_t size)
{
    if (refused_)
        return;
    buffer_.append(reinterpret_cast<const char*>(data), size);
    if (buffer_.size() >= kPiece)
        flush();
}

void PiecePipeline::finish()
{
    flush();
}

void PiecePipeline::flush()
{
    if (buffer_.empty() || refused_)
        return;
    started_ = true;
    refused_ = !write_(buffer_);
    buffer_.clear();
}

}  // namespace recibo::pdf
