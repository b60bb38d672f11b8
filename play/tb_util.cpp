#include "play/tb_util.h"

#include "services/d_codepage.h"
#include "services/d_language.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

#include <array>

namespace tb {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes that
// Windows-1252 leaves undefined keep their C1 control code, as the system's
// own conversion does.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString Cp1252ToUnicode(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x80 && code <= 0x9F)
            text.append(QChar(Cp1252High[code - 0x80]));
        else
            text.append(QChar(static_cast<char16_t>(code)));
    }
    return text;
}

QString ToUnicode(std::string_view bytes) {
    const int codePage = Language().CodePage();
    if (codePage != 1252) {
        try {
            return QString::fromStdString(TCodePage(codePage).ToUtf8(bytes));
        } catch (const std::exception&) {
            // A byte the language's code page leaves undefined: the text is
            // shown as Windows-1252 rather than not at all.
        }
    }
    return Cp1252ToUnicode(bytes);
}

std::string FromUnicode(const QString& text) {
    return TCodePage(Language().CodePage()).FromUtf8(text.toStdString());
}

void TranslateForm(QWidget& form, const std::map<int, std::string>& captions) {
    for (QWidget* control : form.findChildren<QWidget*>()) {
        const QVariant tag = control->property("Tag");
        if (!tag.isValid() || tag.toInt() == 0) continue;
        const auto caption = captions.find(tag.toInt());
        if (caption == captions.end() || caption->second.empty()) continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(ToUnicode(caption->second));
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(ToUnicode(caption->second));
    }
}

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.generic_string());
}

} // namespace tb
