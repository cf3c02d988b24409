#pragma once

#include <QApplication>
#include <QProxyStyle>

#include <map>

namespace sekreta::test {

// For as long as it lives, the application's style answers some of its hints as another
// desktop's style would.
class HintedStyle {
public:
    explicit HintedStyle(std::map<QStyle::StyleHint, int> hints)
        : m_original(QApplication::style()->name())
    {
        QApplication::setStyle(new Style(m_original, std::move(hints)));
    }
    ~HintedStyle() { QApplication::setStyle(m_original); }

private:
    class Style final : public QProxyStyle {
    public:
        Style(const QString& base, std::map<QStyle::StyleHint, int> hints)
            : QProxyStyle(base)
            , m_hints(std::move(hints))
        {
        }
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
            QStyleHintReturn* returnData) const override
        {
            const auto found = m_hints.find(hint);
            return found != m_hints.end() ? found->second : QProxyStyle::styleHint(hint, option, widget, returnData);
        }

    private:
        std::map<QStyle::StyleHint, int> m_hints;
    };

    QString m_original;
};

}  // namespace sekreta::test
