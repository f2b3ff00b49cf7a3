// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/module_state.h"
#include "window/print_form.h"
#include "window/qt_form.h"

#include <QWidget>

namespace window {

// Form1, the calculator's one window.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    model::Form &form() { return m_form; }
    model::Module1 &module() { return m_module; }

    // Centres the whole window, frame included, on its screen: now, and again once the window
    // manager has framed it, since only then is the frame's size known.
    void centreOnScreen();

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void connectScreenReader();
    void pressFixButton(model::Control pressed, void (MainWindow::*handler)());
    void Form_Load();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void VScroll4_Change();
    void VScroll5_Change();
    void VScroll6_Change();
    void VScroll7_Change();

    QtForm m_form;
    model::Module1 m_module;
    PrintForm m_print;
    bool m_handingFocusOn = false;
    bool m_centreOnceFramed = false;
};

} // namespace window
