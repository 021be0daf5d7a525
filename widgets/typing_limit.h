#pragma once

class QLineEdit;

// Limits what the user can type into the edit to `limit` characters, as an
// edit box's typing limit does: text set from code is shown whole however
// long it is, and a text already longer can still be shortened.
void SetTypingLimit(QLineEdit *edit, int limit);
