#include "LabelRows.h"

#include "Module1.h"
#include "QuillError.h"

#include <QDate>

long long LabelRows::count(Module1 &data, long long most)
{
    long long values = 0;
    try {
        if (!data.getFirstData().isEmpty() || data.readsColumns())
            values = 1;
        const bool fixed = data.controls().textSelected();
        while (!fixed && values < most && !data.getNextData().isEmpty())
            ++values;
    } catch (const QuillError &) {
    }
    data.endRun();
    return values;
}

LabelRecord LabelRows::record(Module1 &data, long long number)
{
    const bool titled = data.valuesCarryTitles();
    LabelRecord record{.value = data.getFirstData()};
    record.columns = data.rowFields();
    if (titled)
        record.title = data.getFirstTitle();
    record.date = QDate::currentDate();
    const bool fixed = data.controls().textSelected();
    while (!fixed && record.number < number) {
        const QString next = data.getNextData();
        if (next.isEmpty())
            break;
        record.value = next;
        record.columns = data.rowFields();
        record.title.reset();
        if (titled)
            record.title = data.getNextTitle();
        ++record.number;
    }
    data.endRun();
    return record;
}
