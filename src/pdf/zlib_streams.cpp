#include "zlib_streams.h"

#include <algorithm>

#include <zlib.h>

namespace recibo::pdf {

bool inflateStream(std::string_view data, std::string& out, std::size_t limit)
{
    out.clear();
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        if (out.size() >= limit)
            break;
        const std::size_t done = out.size();
        out.resize(std::min(limit, std::max<std::size_t>(done * 2, 64 * 1024)));
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + done);
        stream.avail_out = uInt(out.size() - done);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(out.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

bool deflateStream(std::string_view data, int level, std::string& out)
{
    uLongf size = compressBound(uLong(data.size()));
    out.resize(size);
    const int status = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                                 reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()), level);
    out.resize(status == Z_OK ? size : 0);
    return status == Z_OK;
}

}  // namespace recibo::pdf
