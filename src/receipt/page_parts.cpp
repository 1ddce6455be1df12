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

void paintPage(const Page& page, QPainter& painter)
{
    // Parts that share a clip and an origin are drawn inside one setting of
    // them.
    const PagePart* setting = nullptr;
    for (const PagePart& part : page.parts) {
        const bool plain = part.clip.isEmpty() && part.origin.isNull();
        if (setting && (plain || part.clip != setting->clip || part.origin != setting->origin)) {
            painter.restore();
            setting = nullptr;
        }
        if (!plain && !setting) {
            painter.save();
            if (!part.clip.isEmpty())
                painter.setClipRect(part.clip, Qt::IntersectClip);
            painter.translate(part.origin);
            setting = &part;
        }
        std::visit([&](const auto& shape) { paint(painter, shape); }, part.shape);
    }
    if (setting)
        painter.restore();
}

}  // namespace recibo::receipt
