// Every dialog of the program drawn from its template: each control of its kind, where the
// template puts it once dialog units are turned into pixels with the dialog's font, and Tab
// going through the controls in the template's order.
#include "platform/qt/QtDialogWindow.h"
#include "qt/DialogEventsRecorder.h"
#include "qt/ModalDriver.h"
#include "resources/SekretaResources.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace sekreta::platform {

void PrintTo(const DialogTemplate& dialog, std::ostream* out)
{
    *out << "dialog " << dialog.id << " \"" << dialog.title << "\"";
}

}  // namespace sekreta::platform

namespace sekreta::test {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::qt::QtDialogWindow;

// Dialog units to pixels as the desktop's dialog manager does it: the base width is the
// average width of the 52 letters, rounded; the base height is the font's height; x and width
// are in quarters of the one, y and height in eighths of the other, rounded to the nearest.
struct Conversion {
    explicit Conversion(const QFont& font)
    {
        const QFontMetrics metrics(font);
        const int letters
            = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX = (letters / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int X(int units) const { return (units * baseX + 2) / 4; }
    int Y(int units) const { return (units * baseY + 4) / 8; }
    QRect Rect(const ControlTemplate& control) const
    {
        return QRect(X(control.x), Y(control.y), X(control.width), Y(control.height));
    }

    int baseX;
    int baseY;
};

bool TakesFocus(const ControlTemplate& control)
{
    return (control.style & platform::TabStop) != 0
        && (control.kind == ControlKind::Edit || control.kind == ControlKind::PushButton
            || control.kind == ControlKind::DefaultPushButton || control.kind == ControlKind::CheckBox);
}

std::vector<QWidget*> ControlWidgets(QDialog& dialog, std::size_t count)
{
    std::vector<QWidget*> widgets;
    for (std::size_t index = 0; index < count; ++index)
        widgets.push_back(dialog.findChild<QWidget*>(QStringLiteral("control%1").arg(index)));
    return widgets;
}

bool IsOfKind(const QWidget& widget, const ControlTemplate& control)
{
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::Icon:
        return qobject_cast<const QLabel*>(&widget);
    case ControlKind::Edit:
        return (control.style & platform::MultiLine) != 0 ? qobject_cast<const QPlainTextEdit*>(&widget) != nullptr
                                                          : qobject_cast<const QLineEdit*>(&widget) != nullptr;
    case ControlKind::PushButton:
        return qobject_cast<const QPushButton*>(&widget) && !static_cast<const QPushButton&>(widget).isDefault();
    case ControlKind::DefaultPushButton:
        return qobject_cast<const QPushButton*>(&widget) && static_cast<const QPushButton&>(widget).isDefault();
    case ControlKind::CheckBox:
        return qobject_cast<const QCheckBox*>(&widget);
    case ControlKind::GroupBox:
        return qobject_cast<const QGroupBox*>(&widget);
    }
    return false;
}

class DialogTemplateTest : public testing::TestWithParam<DialogTemplate> { };

TEST_P(DialogTemplateTest, EveryControlIsOfItsKindAtItsConvertedPlace)
{
    const DialogTemplate& dialog = GetParam();
    DialogEventsRecorder events;
    QtDialogWindow window(dialog, events, nullptr);
    QDialog& widget = window.Widget();
    const Conversion units(widget.font());

    EXPECT_EQ(widget.windowTitle().toStdString(), dialog.title);
    EXPECT_EQ(widget.size(), QSize(units.X(dialog.width), units.Y(dialog.height)));
    const std::vector<QWidget*> controls = ControlWidgets(widget, dialog.controls.size());
    for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
        const ControlTemplate& control = dialog.controls[index];
        SCOPED_TRACE("control " + std::to_string(index) + " \"" + std::string(control.text.substr(0, 30)) + "\"");
        ASSERT_NE(controls[index], nullptr);
        EXPECT_TRUE(IsOfKind(*controls[index], control)) << controls[index]->metaObject()->className();
        if (control.kind == ControlKind::Icon) {
            // An icon takes the size of the icon it shows.
            const int side = widget.style()->pixelMetric(QStyle::PM_LargeIconSize);
            EXPECT_EQ(controls[index]->geometry(), QRect(units.Rect(control).topLeft(), QSize(side, side)));
        } else {
            EXPECT_EQ(controls[index]->geometry(), units.Rect(control));
        }
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::DefaultPushButton
            || control.kind == ControlKind::CheckBox) {
            EXPECT_EQ(static_cast<QAbstractButton*>(controls[index])->text().toStdString(), control.text);
        }
        if (control.kind == ControlKind::GroupBox) {
            EXPECT_EQ(static_cast<QGroupBox*>(controls[index])->title().toStdString(), control.text);
        }
        if (control.kind == ControlKind::Edit) {
            const auto* line = qobject_cast<QLineEdit*>(controls[index]);
            // A field that does not scroll sideways takes only what it shows.
            if (line) {
                EXPECT_EQ(line->validator() != nullptr, (control.style & platform::AutoHorizontalScroll) == 0);
            }
        }
    }
}

TEST_P(DialogTemplateTest, TabGoesThroughTheControlsInTemplateOrder)
{
    const DialogTemplate& dialog = GetParam();
    std::vector<std::size_t> expected;
    for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
        if (TakesFocus(dialog.controls[index]))
            expected.push_back(index);
    }
    ASSERT_FALSE(expected.empty());
    // Round the whole ring once, and back to the first.
    expected.push_back(expected.front());

    DialogEventsRecorder events;
    QtDialogWindow window(dialog, events, nullptr);
    const std::vector<QWidget*> controls = ControlWidgets(window.Widget(), dialog.controls.size());
    std::vector<std::size_t> visited;
    ModalDriver driver;
    driver.Expect("dialog " + std::to_string(dialog.id), [&](QWidget& shown) {
        for (std::size_t step = 0; step < expected.size(); ++step) {
            const auto found = std::find(controls.begin(), controls.end(), QApplication::focusWidget());
            visited.push_back(found == controls.end() ? 999 : static_cast<std::size_t>(found - controls.begin()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(&shown, Qt::Key_Escape);
    });
    EXPECT_EQ(window.Run(), platform::IDCANCEL);
    EXPECT_EQ(visited, expected);
}

std::string TemplateName(const testing::TestParamInfo<DialogTemplate>& info)
{
    return "Dialog" + std::to_string(info.param.id);
}

INSTANTIATE_TEST_SUITE_P(EveryTemplate, DialogTemplateTest,
    testing::ValuesIn(SekretaResources().dialogs.begin(), SekretaResources().dialogs.end()), TemplateName);

}  // namespace
}  // namespace sekreta::test
