#pragma once
// The one rule of the model's plain setters: a value is stored, and the change reported, only
// when it differs from what is held (reals compare exactly, so 0.1 typed twice is no change).
template <class Field, class Value>
bool AssignIfChanged(Field &field, const Value &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
