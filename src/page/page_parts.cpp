#include "page_parts.h"

#include <QPainter>

namespace recibo::receipt {
namespace {

void paint(QPainter& painter, const PageFill& fill)
{
    painter.fillRect(fill.box, fill.grey);
}

void paint(QPainter& painter, const PageOutline& outline)
{
    painter.setPen(QPen(outline.grey, outline.width, Qt::SolidLine, Qt::SquareCap, outline.join));
    painter.setBrush(outline.fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(outline.fill));
    if (outline.radius > 0)
        painter.drawRoundedRect(outline.box, outline.radius, outline.radius);
    else
        painter.drawRect(outline.box);
    painter.setBrush(Qt::NoBrush);
}

void paint(QPainter& painter, const PageLine& line)
{
    painter.setPen(QPen(line.grey, line.width, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(line.line);
}

void paint(QPainter& painter, const PageText& text)
{
    painter.setPen(text.grey);
    drawPaperText(painter, text.text, text.area, text.alignment);
}

}  // namespace

std::vector<PageRun> runsOf(const Page& page)
{
    std::vector<PageRun> runs;
    const std::span<const PagePart> parts(page.parts);
    for (std::size_t first = 0, end = 0; first < parts.size(); first = end) {
        const PagePart& part = parts[first];
        for (end = first + 1; end < parts.size() && parts[end].clip == part.clip && parts[end].origin == part.origin;)
            ++end;
        runs.push_back({part.clip, part.origin, parts.subspan(first, end - first)});
    }
    return runs;
}

void paintPage(const Page& page, QPainter& painter)
{
    for (const PageRun& run : runsOf(page)) {
        if (!run.plain()) {
            painter.save();
            if (!run.clip.isEmpty())
                painter.setClipRect(run.clip, Qt::IntersectClip);
            painter.translate(run.origin);
        }
        for (const PagePart& part : run.parts)
            std::visit([&](const auto& shape) { paint(painter, shape); }, part.shape);
        if (!run.plain())
            painter.restore();
    }
}

}  // namespace recibo::receipt
