#include "play/tb_colour.h"

#include <QApplication>
#include <QPalette>

#include <string>

namespace tb {

namespace {

QPalette::ColorRole RoleOf(TSystemColour colour) {
    switch (colour) {
    case TSystemColour::ScrollBar:
    case TSystemColour::BtnFace:
        return QPalette::Button;
    case TSystemColour::Background:
    case TSystemColour::Menu:
    case TSystemColour::MenuBar:
    case TSystemColour::ActiveBorder:
    case TSystemColour::InactiveBorder:
        return QPalette::Window;
    case TSystemColour::ActiveCaption:
    case TSystemColour::Highlight:
    case TSystemColour::MenuHighlight:
    case TSystemColour::GradientActiveCaption:
        return QPalette::Highlight;
    case TSystemColour::InactiveCaption:
    case TSystemColour::GradientInactiveCaption:
        return QPalette::Mid;
    case TSystemColour::Window:
        return QPalette::Base;
    case TSystemColour::WindowFrame:
    case TSystemColour::DkShadow3D:
        return QPalette::Shadow;
    case TSystemColour::MenuText:
    case TSystemColour::InactiveCaptionText:
        return QPalette::WindowText;
    case TSystemColour::WindowText:
        return QPalette::Text;
    case TSystemColour::CaptionText:
    case TSystemColour::HighlightText:
        return QPalette::HighlightedText;
    case TSystemColour::AppWorkSpace:
    case TSystemColour::BtnShadow:
        return QPalette::Dark;
    case TSystemColour::GrayText:
        return QPalette::PlaceholderText;
    case TSystemColour::BtnText:
        return QPalette::ButtonText;
    case TSystemColour::BtnHighlight:
        return QPalette::Light;
    case TSystemColour::Light3D:
        return QPalette::Midlight;
    case TSystemColour::InfoText:
        return QPalette::ToolTipText;
    case TSystemColour::InfoBk:
        return QPalette::ToolTipBase;
    case TSystemColour::HotLight:
        return QPalette::Link;
    }
    return QPalette::Window;
}

} // namespace

QColor ToQColor(const TColour& colour) {
    if (colour.System) return QApplication::palette().color(RoleOf(colour.Role));
    return QColor::fromRgb(static_cast<QRgb>(colour.Rgb));
}

bool ColourByName(std::string_view name, QColor& colour) {
    TColour read;
    // Only identifiers: a number written in place of a name is no colour name.
    if (!ColourFromText(name, read) || read.Name.empty() || read.Name.front() == '$') return false;
    colour = ToQColor(read);
    return true;
}

} // namespace tb
