// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/main_window.h"

#include "model/fix_mode.h"
#include "model/language.h"
#include "model/solvers.h"
#include "model/spin.h"
#include "window/check_box.h"
#include "window/circuit_picture.h"
#include "window/form_table.h"
#include "window/look.h"
#include "window/option_button.h"
#include "window/print_form.h"
#include "window/push_button.h"
#include "window/spin_bar.h"
#include "window/text_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace window {

namespace {

int toPixels(int twips)
{
    return qRound(twips / double(twipsPerPixel));
}

// The face comes before the text, so that no text is measured or laid out for a face it will not
// have; a face the control already inherits is not set again, which would redo the work for
// nothing.
template <typename Widget> Widget *emptyWidget(const ControlRow &row, QWidget *parent)
{
    auto *widget = new Widget(parent);
    if (const QFont face = fontFor(row.face); face != widget->font())
        widget->setFont(face);
    return widget;
}

QWidget *createWidget(const ControlRow &row, QWidget *parent)
{
    const QString text = QString::fromUtf8(row.text);
    switch (row.kind) {
    case Kind::Frame: {
        auto *frame = emptyWidget<QGroupBox>(row, parent);
        frame->setTitle(text);
        return frame;
    }
    case Kind::Label: {
        auto *label = emptyWidget<QLabel>(row, parent);
        label->setText(text);
        return label;
    }
    case Kind::TextBox: {
        auto *box = emptyWidget<TextBox>(row, parent);
        box->setAlignment(Qt::AlignCenter);
        box->setText(text);
        return box;
    }
    case Kind::SpinBar:
        return emptyWidget<SpinBar>(row, parent);
    case Kind::Button: {
        auto *button = emptyWidget<PushButton>(row, parent);
        button->setText(text);
        return button;
    }
    case Kind::Option: {
        auto *option = emptyWidget<OptionButton>(row, parent);
        option->setText(text);
        option->setChecked((row.flags & Selected) != 0);
        return option;
    }
    case Kind::Check: {
        auto *check = emptyWidget<CheckBox>(row, parent);
        check->setText(text);
        return check;
    }
    default:
        return nullptr;
    }
}

void applyColours(QWidget *widget, const ControlRow &row)
{
    const QColor fore = toQColor(row.fore);
    const QColor back = toQColor(row.back);
    QPalette palette = widget->palette();
    // Every role is set on every control, so nothing inherits a frame's caption colour.
    for (auto group : { QPalette::Active, QPalette::Inactive }) {
        for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            palette.setColor(group, role, fore);
    }
    for (auto role : { QPalette::Window, QPalette::Button, QPalette::Base })
        palette.setColor(role, back);
    widget->setPalette(palette);
    // Labels, frames, options and check boxes are opaque, as the layout has them.
    if (row.kind != Kind::TextBox && row.kind != Kind::Button && row.kind != Kind::SpinBar)
        widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent),
      m_print(*this, m_form, installedPrintHelper())
{
    setObjectName(QStringLiteral("Form1"));
    setAutoFillBackground(true);
    setFont(fontFor(Face::Dialog));
    setFixedSize(toPixels(clientWidthTwips), toPixels(clientHeightTwips));
    m_form.add(model::Control::Form1, this);
    buildLayout();
    connectHandlers();
    connectScreenReader();
    Form_Load();
    m_form.describeControls();
}

void MainWindow::buildLayout()
{
    QHash<QString, QWidget *> containers { { QStringLiteral("Form1"), this } };
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlRow &row : formTable) {
        if (isPicture(row.kind))
            continue;
        QWidget *widget = createWidget(row, containers.value(QString::fromLatin1(row.parent)));
        const QString name = QString::fromLatin1(row.name);
        widget->setObjectName(name);
        const auto &box = std::get<Box>(row.place);
        widget->setGeometry(
            toPixels(box.left), toPixels(box.top), toPixels(box.width), toPixels(box.height));
        applyColours(widget, row);
        if (row.flags & FitsCaption)
            fitToCaption(qobject_cast<QLabel *>(widget));
        if (row.kind == Kind::Frame)
            containers.insert(name, widget);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(row.tab, widget);
        m_form.add(*model::controlNamed(row.name), widget);
    }
    std::ranges::sort(tabOrder, {}, &std::pair<int, QWidget *>::first);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    m_form.setTag(model::Control::Command5, "0");
    // Each spin bar steps the box of its own number; Cx by tenths.
    for (int i = 0; i < 7; ++i) {
        auto *bar = qobject_cast<SpinBar *>(
            m_form.widget(model::Control(int(model::Control::VScroll1) + i)));
        bar->setBox(qobject_cast<QLineEdit *>(
                        m_form.widget(model::Control(int(model::Control::Text1) + i))),
            i == 6 ? 1 : 2);
    }
}

void MainWindow::connectHandlers()
{
    using model::Control;
    auto button = [this](Control c) { return qobject_cast<QPushButton *>(m_form.widget(c)); };
    auto fix = [this, &button](Control c, void (MainWindow::*handler)()) {
        connect(button(c), &QPushButton::clicked, this,
            [this, c, handler] { pressFixButton(c, handler); });
    };
    fix(Control::Command1, &MainWindow::Command1_Click);
    fix(Control::Command2, &MainWindow::Command2_Click);
    fix(Control::Command3, &MainWindow::Command3_Click);
    connect(button(Control::Command4), &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(button(Control::Command5), &QPushButton::clicked, this, &MainWindow::Command5_Click);

    auto check = [this](Control c) { return qobject_cast<QCheckBox *>(m_form.widget(c)); };
    connect(check(Control::Check1), &QCheckBox::clicked, this, &MainWindow::Check1_Click);
    connect(check(Control::Check2), &QCheckBox::clicked, this, &MainWindow::Check2_Click);
    connect(check(Control::Check3), &QCheckBox::clicked, this, &MainWindow::Check3_Click);

    // A unit counts as chosen when its button turns on; choosing the unit already chosen
    // changes nothing that the solvers read, so it computes nothing.
    auto option = [this](Control c, void (MainWindow::*handler)()) {
        connect(qobject_cast<QRadioButton *>(m_form.widget(c)), &QRadioButton::toggled, this,
            [this, handler](bool on) {
                if (on)
                    (this->*handler)();
            });
    };
    option(Control::Option1, &MainWindow::Option1_Click);
    option(Control::Option2, &MainWindow::Option2_Click);
    option(Control::Option3, &MainWindow::Option3_Click);
    option(Control::Option4, &MainWindow::Option4_Click);
    option(Control::Option5, &MainWindow::Option5_Click);
    option(Control::Option6, &MainWindow::Option6_Click);

    auto bar = [this](Control c) { return qobject_cast<SpinBar *>(m_form.widget(c)); };
    connect(bar(Control::VScroll1), &SpinBar::changed, this, &MainWindow::VScroll1_Change);
    connect(bar(Control::VScroll2), &SpinBar::changed, this, &MainWindow::VScroll2_Change);
    connect(bar(Control::VScroll3), &SpinBar::changed, this, &MainWindow::VScroll3_Change);
    connect(bar(Control::VScroll4), &SpinBar::changed, this, &MainWindow::VScroll4_Change);
    connect(bar(Control::VScroll5), &SpinBar::changed, this, &MainWindow::VScroll5_Change);
    connect(bar(Control::VScroll6), &SpinBar::changed, this, &MainWindow::VScroll6_Change);
    connect(bar(Control::VScroll7), &SpinBar::changed, this, &MainWindow::VScroll7_Change);
}

// Connected after the handlers, so that a screen reader hears of what a handler has done.
void MainWindow::connectScreenReader()
{
    using model::Control;
    auto describe = [this] { m_form.describeControls(); };
    for (Control c : { Control::Command1, Control::Command2, Control::Command3, Control::Command5 })
        connect(
            qobject_cast<QPushButton *>(m_form.widget(c)), &QPushButton::clicked, this, describe);
    for (Control c : { Control::Option1, Control::Option2, Control::Option3, Control::Option4,
             Control::Option5, Control::Option6 }) {
        connect(qobject_cast<QRadioButton *>(m_form.widget(c)), &QRadioButton::toggled, this,
            [this, c](bool on) {
                if (!on)
                    return;
                m_form.describeControls();
                m_form.announce(c);
            });
    }
    for (Control c : { Control::VScroll1, Control::VScroll2, Control::VScroll3, Control::VScroll4,
             Control::VScroll5, Control::VScroll6, Control::VScroll7 }) {
        connect(qobject_cast<SpinBar *>(m_form.widget(c)), &SpinBar::stepped, this, [this, c] {
            m_form.describeControls();
            m_form.announce(c);
        });
    }
}

// A fix button disables itself. The toolkit would then move the focus on as Tab does, into a box
// of another group with its text selected, where the next key would replace a value the user
// never chose. The focus goes instead to the fix button that the press enables: a button takes
// no typing, it shows its focus cue, and it is the one key that fixes the quantity let go again.
void MainWindow::pressFixButton(model::Control pressed, void (MainWindow::*handler)())
{
    QWidget *released = nullptr;
    for (const model::FixGroup &group : model::fixGroups) {
        if (model::isFixed(m_form, group.fixButton))
            released = m_form.widget(group.fixButton);
    }
    const bool handsOn = m_form.widget(pressed)->hasFocus();
    m_handingFocusOn = true;
    (this->*handler)();
    m_handingFocusOn = false;
    if (handsOn && released && released->isEnabled())
        released->setFocus(Qt::OtherFocusReason);
}

// While a fix button hands the focus on itself, the toolkit's move to the next stop is skipped.
bool MainWindow::focusNextPrevChild(bool next)
{
    return m_handingFocusOn || QWidget::focusNextPrevChild(next);
}

void MainWindow::centreOnScreen()
{
    m_centreOnceFramed = frameGeometry().size() == size();
    const QRect area = screen()->availableGeometry();
    const QSize frame = frameGeometry().size();
    move(area.x() + (area.width() - frame.width()) / 2,
        area.y() + (area.height() - frame.height()) / 2);
}

bool MainWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Move && m_centreOnceFramed && frameGeometry().size() != size())
        centreOnScreen();
    return handled;
}

void MainWindow::Form_Load()
{
    m_module.StepL = 0.01;
    m_module.StepC = 0.01;
    m_module.StepF = 0.01;
    model::SetFixMode(m_form, 1);
    model::GetLang(m_form, model::english);
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintCircuit(painter);
    // The icon waits for the first frame: reading it and handing it to the window system would
    // hold that frame up by a tenth of the start-up, and the title bar shows it a moment later.
    if (!testAttribute(Qt::WA_SetWindowIcon))
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(appIcon()); }, Qt::QueuedConnection);
}

// The window opens with the focus on its first control, and a keyboard user needs to see it
// there before the first key; the toolkit would show focus cues only from the first Tab on.
void MainWindow::showEvent(QShowEvent *event)
{
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget::showEvent(event);
}

void MainWindow::Command1_Click()
{
    model::SetFixMode(m_form, 1);
}

void MainWindow::Command2_Click()
{
    model::SetFixMode(m_form, 2);
}

void MainWindow::Command3_Click()
{
    model::SetFixMode(m_form, 3);
}

void MainWindow::Command4_Click()
{
    m_print.print();
}

void MainWindow::Command5_Click()
{
    model::switchLanguage(m_form);
}

void MainWindow::Check1_Click()
{
    model::quickBoxClicked(m_form, m_module, model::Control::Check1);
}

void MainWindow::Check2_Click()
{
    model::quickBoxClicked(m_form, m_module, model::Control::Check2);
}

void MainWindow::Check3_Click()
{
    model::quickBoxClicked(m_form, m_module, model::Control::Check3);
}

void MainWindow::Option1_Click()
{
    model::Vypocet_z_L(m_form, m_module);
}

void MainWindow::Option2_Click()
{
    model::Vypocet_z_L(m_form, m_module);
}

void MainWindow::Option3_Click()
{
    model::Vypocet_z_C(m_form, m_module);
}

void MainWindow::Option4_Click()
{
    model::Vypocet_z_C(m_form, m_module);
}

void MainWindow::Option5_Click()
{
    model::Vypocet_z_F(m_form, m_module);
}

void MainWindow::Option6_Click()
{
    model::Vypocet_z_F(m_form, m_module);
}

void MainWindow::VScroll1_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll1);
}

void MainWindow::VScroll2_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll2);
}

void MainWindow::VScroll3_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll3);
}

void MainWindow::VScroll4_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll4);
}

void MainWindow::VScroll5_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll5);
}

void MainWindow::VScroll6_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll6);
}

void MainWindow::VScroll7_Change()
{
    model::spinChanged(m_form, m_module, model::Control::VScroll7);
}

} // namespace window
