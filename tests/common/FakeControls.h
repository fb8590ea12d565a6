#pragma once
#include "DataSourceControls.h"

// The data panel's controls as plain fields.
struct FakeControls : DataSourceControls {
    bool o1 = true, o2 = false, o3 = false;
    QString t1 = QStringLiteral("0123456789"), t2 = QStringLiteral("001"), t3 = QStringLiteral("999"),
            t4, t7 = QStringLiteral("(prefix)"), t8 = QStringLiteral("(sufix)");

    void source(int n) { o1 = n == 1; o2 = n == 2; o3 = n == 3; }

    bool option1Selected() const override { return o1; }
    bool option2Selected() const override { return o2; }
    bool option3Selected() const override { return o3; }
    QString text1() const override { return t1; }
    QString text2() const override { return t2; }
    QString text3() const override { return t3; }
    QString text4() const override { return t4; }
    QString text7() const override { return t7; }
    QString text8() const override { return t8; }
};

