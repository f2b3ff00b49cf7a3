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

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
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
};

} // namespace window
