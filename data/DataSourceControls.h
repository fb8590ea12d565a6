#pragma once
#include <QString>

// The designer controls the data-value functions read, afresh at every call.
class DataSourceControls {
public:
    virtual ~DataSourceControls() = default;
    virtual bool option1Selected() const = 0; // "Text"
    virtual bool option2Selected() const = 0; // "Sequence"
    virtual bool option3Selected() const = 0; // "Import text file"
    virtual QString text1() const = 0;        // fixed text
    virtual QString text2() const = 0;        // sequence start
    virtual QString text3() const = 0;        // sequence end
    virtual QString text4() const = 0;        // import file name
    virtual QString text7() const = 0;        // prefix
    virtual QString text8() const = 0;        // suffix
};
