#pragma once

// The blocks of content between a "q" and its "Q" that many pages have
// byte for byte (labels, frames, grids) are written once, as form
// XObjects, and each page calls them ("/Fm0 Do"). A form saves and
// restores the graphics state and paints in the current transformation
// and clip, just as the block did; only its bounding box clips more, so a
// form stands for a block only where its box covers the whole page.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content_lines.h"

namespace recibo::pdf {

// A rectangle: left, bottom, right, top.
struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool contains(const Box& other) const
    {
        return x0 <= other.x0 && y0 <= other.y0 && x1 >= other.x1 && y1 >= other.y1;
    }
};

struct Form {
    std::string name;     // "/Fm0"
    std::string content;  // the block, "q" to "Q"
    Box box;              // in the block's own space: what the page needs of it, everywhere
};

class SharedBlocks {
public:
    // Blocks shorter than this are not worth a form: "/Fm12 Do" and the
    // form's own object cost some dozens of bytes.
    static constexpr std::size_t kShortest = 64;

    // Takes a page of the sample the forms are chosen from; `page` is its
    // media box.
    void sample(const ContentLines& content, const Box& page);
    // Chooses the forms: the blocks on at least a quarter of the sample
    // pages, and on two of them at least, the outermost where blocks nest;
    // kept only when a sample page uses them. The sample is then let go.
    void choose(std::string_view namePrefix);
    const std::vector<Form>& forms() const { return forms_; }
    // The page's content, each block that has a form replaced by it.
    void write(const ContentLines& content, const Box& page, std::string& out) const;

private:
    struct Site {
        std::size_t first = 0;  // the "q" line
        std::size_t last = 0;   // its "Q" line
        Box needed;             // the page, in the space the block starts in
    };
    struct Count {
        int pages = 0;
        int lastPage = -1;
        Box box;
        std::size_t form = 0;
        bool used = false;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    using Counts = std::unordered_map<std::string, Count, Hash, std::equal_to<>>;

    static std::vector<Site> sites(const ContentLines& content, const Box& page);
    static std::string_view blockText(const ContentLines& content, const Site& site);

    std::vector<std::pair<ContentLines, Box>> samples_;
    Counts counts_;
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> formOf_;
    std::vector<Form> forms_;
};

}  // namespace recibo::pdf
