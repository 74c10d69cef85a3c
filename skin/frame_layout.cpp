#include "skin/frame_layout.h"

#include "base/language.h"
#include "skin/dpi_scale.h"

namespace velmora::skin {

namespace {

SkinRect SourceOf(const FramePiece& p) noexcept { return RectAt(p.x, p.y, p.cx, p.cy); }

void Add(BlitPlan& plan, SkinRect source, SkinRect target) noexcept {
    if (!source.IsEmpty() && !target.IsEmpty()) {
        plan.steps[plan.count++] = {source, target, false};
    }
}

// A row of three pieces across a part of width W: the ends 1:1, the middle
// stretched between them (caption: 0, 1, 2 at height h0; bottom: 5, 6, 7 at
// height h5). The middle's height is the first piece's height.
BlitPlan PlanRow(int width, const FramePiece& first, const FramePiece& middle,
                 const FramePiece& last) noexcept {
    BlitPlan plan;
    Add(plan, SourceOf(first), RectAt(0, 0, first.cx, first.cy));
    Add(plan, SourceOf(middle), RectAt(first.cx, 0, width - first.cx - last.cx, first.cy));
    Add(plan, SourceOf(last), RectAt(width - last.cx, 0, last.cx, last.cy));
    return plan;
}

}  // namespace

bool FramePieces::Set(int index, const FramePiece& rect) noexcept {
    if (index < 0 || index >= static_cast<int>(piece.size())) {
        return false;
    }
    piece[static_cast<std::size_t>(index)] = rect;
    return true;
}

FrameMetrics FrameMetricsOf(const FramePieces& pieces, int dpi) noexcept {
    const auto& p = pieces.piece;
    FrameMetrics metrics{p[0].cy, p[3].cx, p[4].cx, p[5].cy, p[7].cy};
    metrics.edgeGrip = ScaleForDpi(metrics.edgeGrip, dpi);
    metrics.iconZoneWidth = ScaleForDpi(metrics.iconZoneWidth, dpi);
    return metrics;
}

SkinRect FramePartRect(SkinRect client, FramePart part, const FrameMetrics& m) noexcept {
    SkinRect r = client;
    switch (part) {
        case FramePart::kCaption:
            r.bottom = r.top + m.captionHeight;
            break;
        case FramePart::kLeft:
            r.top += m.captionHeight;
            r.bottom -= m.bottomHeight;
            r.right = r.left + m.leftWidth;
            break;
        case FramePart::kRight:
            r.top += m.captionHeight;
            r.bottom -= m.bottomHeight;
            r.left = r.right - m.rightWidth;
            break;
        case FramePart::kBottom:
            r.top = r.bottom - m.bottomHeight;
            break;
    }
    return r;
}

BlitPlan PlanFramePart(FramePart part, SkinSize partSize, const FramePieces& pieces) noexcept {
    if (partSize.cx <= 0 || partSize.cy <= 0) {
        return {};
    }
    const auto& p = pieces.piece;
    switch (part) {
        case FramePart::kCaption:
            return PlanRow(partSize.cx, p[0], p[1], p[2]);
        case FramePart::kLeft:
        case FramePart::kRight: {
            BlitPlan plan;
            Add(plan, SourceOf(p[part == FramePart::kLeft ? 3 : 4]), RectAt(0, 0, partSize.cx, partSize.cy));
            return plan;
        }
        case FramePart::kBottom:
            return PlanRow(partSize.cx, p[5], p[6], p[7]);
    }
    return {};
}

SkinRect InnerRect(SkinRect client, const FrameMetrics& m) noexcept {
    return {client.left + m.leftWidth, client.top + m.captionHeight, client.right - m.rightWidth,
            client.bottom - m.bottomInnerHeight};
}

SkinRect CaptionTextRect(SkinRect client, SkinPoint origin, const CaptionButtonLayout& l,
                         int captionHeight) noexcept {
    const int right = client.right - 2 * l.gap - l.rightMargin - l.closeWidth - l.maxWidth - l.minWidth - 5;
    return {origin.x, origin.y, right, captionHeight};
}

CaptionButtonRects PlaceCaptionButtons(SkinRect client, const CaptionButtonLayout& l, bool hasMaximize,
                                       bool maximized) noexcept {
    const int top = client.top + l.topMargin + (maximized ? l.maximizedTopOffset : 0);
    const int right = client.right - l.rightMargin;
    CaptionButtonRects rects;
    rects.close = {right - l.closeWidth, top, right, top + l.height};
    int nextRight = rects.close.left - l.gap;
    if (hasMaximize) {
        rects.maximize = {nextRight - l.maxWidth, top, nextRight, top + l.height};
        nextRight = rects.maximize.left - l.gap;
    }
    rects.minimize = {nextRight - l.minWidth, top, nextRight, top + l.height};
    return rects;
}

CaptionStripOffsets CaptionStripOffsetsOf(const CaptionButtonLayout& l) noexcept {
    return {0, 3 * l.minWidth, 3 * (l.minWidth + l.maxWidth), 3 * (l.minWidth + l.maxWidth + l.closeWidth)};
}

int MaximizeButtonImageOffset(const CaptionButtonLayout& layout, bool maximized) noexcept {
    const CaptionStripOffsets offsets = CaptionStripOffsetsOf(layout);
    return maximized ? offsets.restore : offsets.maximize;
}

const char* MaximizeButtonTipText(bool maximized) noexcept {
    return maximized ? velmora::Text{"还原", "Restore Down"} : velmora::Text{"最大化", "Maximize"};
}

SkinPoint WindowMenuPoint(SkinRect windowRect, const FrameMetrics& m) noexcept {
    return {windowRect.left + m.leftWidth, windowRect.top + m.captionHeight};
}

}  // namespace velmora::skin
