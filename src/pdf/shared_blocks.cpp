#include "shared_blocks.h"

#include <algorithm>
#include <cmath>

namespace recibo::pdf {

namespace {

// `first` then `then`, as "cm" composes them: first × then.
Matrix product(const Matrix& m, const Matrix& n)
{
    return {m[0] * n[0] + m[1] * n[2], m[0] * n[1] + m[1] * n[3],        m[2] * n[0] + m[3] * n[2],
            m[2] * n[1] + m[3] * n[3], m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

// The page in the space `ctm` maps onto it; false when that space is
// flattened to nothing.
bool pageInSpace(const Matrix& ctm, const Box& page, Box& out)
{
    const double det = ctm[0] * ctm[3] - ctm[1] * ctm[2];
    if (!std::isfinite(det) || std::fabs(det) < 1e-12)
        return false;
    const double xs[] = {page.x0, page.x1}, ys[] = {page.y0, page.y1};
    bool first = true;
    for (double x : xs)
        for (double y : ys) {
            const double u = (ctm[3] * (x - ctm[4]) - ctm[2] * (y - ctm[5])) / det;
            const double v = (-ctm[1] * (x - ctm[4]) + ctm[0] * (y - ctm[5])) / det;
            if (first)
                out = {u, v, u, v};
            out = {std::min(out.x0, u), std::min(out.y0, v), std::max(out.x1, u), std::max(out.y1, v)};
            first = false;
        }
    return std::isfinite(out.x0) && std::isfinite(out.y0) && std::isfinite(out.x1) && std::isfinite(out.y1);
}

Box united(const Box& a, const Box& b)
{
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace

// Every block that closes, with its text objects whole inside it, sorted
// by where it starts.
std::vector<SharedBlocks::Site> SharedBlocks::sites(const ContentLines& content, const Box& page)
{
    struct Open {
        std::size_t line;
        int textDepth;
        bool known;
        Box needed;
    };
    std::vector<Site> found;
    std::vector<Open> open;
    std::vector<Matrix> saved;
    Matrix ctm = {1, 0, 0, 1, 0, 0};
    int textDepth = 0;
    for (std::size_t i = 0; i < content.lines.size(); ++i) {
        const auto& line = content.lines[i];
        switch (line.kind) {
        case ContentLines::Kind::Save: {
            Open block{i, textDepth, false, {}};
            block.known = pageInSpace(ctm, page, block.needed);
            open.push_back(block);
            saved.push_back(ctm);
            break;
        }
        case ContentLines::Kind::Restore:
            if (open.empty())
                return found;
            if (open.back().known && open.back().textDepth == textDepth)
                found.push_back({open.back().line, i, open.back().needed});
            open.pop_back();
            ctm = saved.back();
            saved.pop_back();
            break;
        case ContentLines::Kind::Transform: ctm = product(content.matrices[line.matrix], ctm); break;
        case ContentLines::Kind::BeginText: ++textDepth; break;
        case ContentLines::Kind::EndText: --textDepth; break;
        case ContentLines::Kind::Other: break;
        }
    }
    std::sort(found.begin(), found.end(), [](const Site& a, const Site& b) { return a.first < b.first; });
    return found;
}

std::string_view SharedBlocks::blockText(const ContentLines& content, const Site& site)
{
    const std::size_t begin = content.lines[site.first].begin;
    return std::string_view(content.text).substr(begin, content.lines[site.last].end - begin);
}

void SharedBlocks::sample(const ContentLines& content, const Box& page)
{
    const int index = int(samples_.size());
    samples_.emplace_back(content, page);
    for (const Site& site : sites(content, page)) {
        const std::string_view text = blockText(content, site);
        if (text.size() < kShortest)
            continue;
        auto found = counts_.find(text);
        if (found == counts_.end()) {
            found = counts_.emplace(std::string(text), Count{}).first;
            found->second.box = site.needed;
        }
        Count& count = found->second;
        count.pages += count.lastPage != index;
        count.lastPage = index;
        count.box = united(count.box, site.needed);
    }
}

void SharedBlocks::choose(std::string_view namePrefix)
{
    const int enough = std::max(2, int(samples_.size() + 3) / 4);
    std::erase_if(counts_, [&](const auto& entry) { return entry.second.pages < enough; });
    // The forms in the order the sample first uses them, outermost first.
    for (const auto& [content, page] : samples_) {
        const std::vector<Site> found = sites(content, page);
        std::size_t skipUntil = 0;
        for (const Site& site : found) {
            if (site.first < skipUntil)
                continue;
            auto chosen = counts_.find(blockText(content, site));
            if (chosen == counts_.end() || !chosen->second.box.contains(site.needed))
                continue;
            if (!chosen->second.used) {
                chosen->second.used = true;
                const Box& box = chosen->second.box;
                forms_.push_back(
                    {std::string(namePrefix) + std::to_string(forms_.size()),
                     chosen->first,
                     {std::floor(box.x0) - 1, std::floor(box.y0) - 1, std::ceil(box.x1) + 1, std::ceil(box.y1) + 1}});
                formOf_.emplace(chosen->first, forms_.size() - 1);
            }
            skipUntil = site.last + 1;
        }
    }
    samples_.clear();
    samples_.shrink_to_fit();
    counts_.clear();
}

void SharedBlocks::write(const ContentLines& content, const Box& page, std::string& out) const
{
    out.clear();
    const std::vector<Site> found = formOf_.empty() ? std::vector<Site>() : sites(content, page);
    auto site = found.begin();
    for (std::size_t i = 0; i < content.lines.size();) {
        while (site != found.end() && site->first < i)
            ++site;
        if (site != found.end() && site->first == i) {
            const auto form = formOf_.find(blockText(content, *site));
            if (form != formOf_.end() && forms_[form->second].box.contains(site->needed)) {
                out.append(forms_[form->second].name).append(" Do\n");
                i = site->last + 1;
                continue;
            }
        }
        out.append(content.lineText(content.lines[i]));
        ++i;
    }
}

}  // namespace recibo::pdf
