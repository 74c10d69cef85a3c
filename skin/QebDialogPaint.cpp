// The skinned frame's painting and its window region.
#include "skin/QebDialog.h"
#include "skin/corner_region.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

using velmora::skin::SkinRect;
using velmora::skin::ToSkinRect;

}  // namespace

BOOL CQebDialog::OnEraseBkgnd(HDC hDC) {
    if (HasFrameSkin()) {
        for (velmora::skin::FramePart part : velmora::skin::kFramePaintOrder) DrawFramePart(hDC, part);
    }
    return TRUE;
}

void CQebDialog::OnPaint() {
    // Everything is drawn while erasing; this only validates.
    CPaintDC dc(m_hWnd);
}

void CQebDialog::DrawFramePart(HDC hDC, velmora::skin::FramePart part) {
    RECT client{};
    GetClientRect(&client);
    const SkinRect where = velmora::skin::FramePartRect(ToSkinRect(client), part, Metrics());
    if (where.IsEmpty()) return;

    // Composed off the screen, then copied in one blit: nothing flickers.
    COffscreenDC buffer(hDC, where.Width(), where.Height());
    CMemoryDC skin(buffer);
    const velmora::SelectedObject selected(skin, m_pFrameSkin->GetSafeHandle());
    if (!buffer.IsReady() || !selected.Selected()) return;
    const velmora::skin::BlitPlan plan =
        velmora::skin::PlanFramePart(part, {where.Width(), where.Height()}, m_pieces);
    for (int i = 0; i < plan.count; ++i) {
        const velmora::skin::BlitStep& step = plan.steps[i];
        buffer.StretchBlt(step.target.left, step.target.top, step.target.Width(), step.target.Height(), skin,
                          step.source.left, step.source.top, step.source.Width(), step.source.Height(),
                          SRCCOPY);
    }
    if (part == velmora::skin::FramePart::kCaption) DrawCaptionTextAndIcon(buffer);
    buffer.CopyTo(hDC, where.left, where.top);
}

RECT CQebDialog::CaptionTextRect() const {
    RECT client{};
    GetClientRect(&client);
    const SkinRect text =
        velmora::skin::CaptionTextRect(ToSkinRect(client), {m_captionTextOrigin.x, m_captionTextOrigin.y},
                                       m_captionLayout, Metrics().captionHeight);
    return RECT{text.left, text.top, text.right, text.bottom};
}

void CQebDialog::DrawCaptionTextAndIcon(CDC& dc) {
    RECT text = CaptionTextRect();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_captionTextColor);
    {
        const velmora::SelectedObject font(dc, m_pCaptionFont);
        dc.DrawText(GetWindowText(), &text, DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    if (m_hCaptionIcon) {
        dc.DrawIcon(m_captionIconPos.x, m_captionIconPos.y, m_hCaptionIcon.Get(), m_captionIconSize.cx,
                    m_captionIconSize.cy, DI_NORMAL);
    } else if (m_pCaptionImageList != nullptr && m_pCaptionImageList->GetSafeHandle() != nullptr &&
               m_captionImageIndex >= 0) {
        m_pCaptionImageList->Draw(dc, m_captionImageIndex, m_captionIconPos, ILD_TRANSPARENT);
    }
}

void CQebDialog::UpdateWindowRegion() {
    RECT client{};
    GetClientRect(&client);
    const RegionKey key{client.right, client.bottom, m_dpi,
                        m_pFrameSkin != nullptr ? m_pFrameSkin->GetSafeHandle() : nullptr};
    // Each region set is a round trip to the display and a redraw of the
    // frame: none when nothing it depends on changed.
    if (m_regionMadeFor == key) return;
    CRgn region;
    if (!region.CreateRectRgn(0, 0, client.right, client.bottom)) return;
    BITMAP info{};
    if (m_pFrameSkin != nullptr && m_pFrameSkin->GetBitmap(&info)) {
        CMemoryDC skin(nullptr);
        const velmora::SelectedObject selected(skin, m_pFrameSkin->GetSafeHandle());
        if (selected.Selected()) {
            const auto cuts = velmora::skin::CornerCutPixels(
                info.bmWidth, info.bmHeight, {client.right, client.bottom},
                [&skin](int x, int y) { return static_cast<std::uint32_t>(skin.GetPixel(x, y)); },
                velmora::skin::CornerScanSize(m_dpi));
            CRgn pixel;
            for (const velmora::skin::SkinPoint& cut : cuts) {
                if (pixel.CreateRectRgn(cut.x, cut.y, cut.x + 1, cut.y + 1))
                    region.CombineRgn(region, pixel, RGN_DIFF);
            }
        }
    }
    if (SetWindowRgn(region, TRUE)) m_regionMadeFor = key;
}
