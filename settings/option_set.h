#pragma once
#include <QString>

// The five launch options, named after the keys that store them.
struct OptionSet
{
    int usekgen = 0; // 0 KGen, 1 Genecyst (the name notwithstanding)
    int fskip = 1;   // frame rate 1..4
    int country = 0; // 0 Auto, 1 Japanese, 2 American, 3 European
    bool dissound = false;
    QString extracmdline;

    bool operator==(const OptionSet &) const = default;
};
