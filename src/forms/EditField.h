#pragma once
// The edits of the small forms: the whole number one holds (nothing typed reads 0),
// and how many characters one takes.

#include "framework/CWnd.h"

class EditField {
public:
    static int Number(const CWnd* edit);
    static void SetNumber(CWnd* edit, int value);
    // The edit takes no more than `characters` characters.
    static void Limit(CWnd* edit, int characters);
};
