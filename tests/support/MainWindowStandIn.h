#pragma once

#include <QWidget>

// A frameless top-level standing in for the main window at a known place, with a
// main panel inside it: the auxiliary windows place themselves against either.
struct MainWindowStandIn {
    MainWindowStandIn() {
        top.setWindowFlags(Qt::FramelessWindowHint);
        top.setGeometry(100, 50, 900, 600);
        panel.setGeometry(30, 40, 800, 500);
        top.show();
    }
    QWidget top;
    QWidget panel{&top};
};
