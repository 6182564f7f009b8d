// Whether a control outlived the handlers of an event, free of the platform so that the host
// build tests it: its number must still name a record, and that record must carry the stamp
// of the same life (a freed number, fixed or dynamic, may name a later control).
#include "toolkit/control_internal.h"

ControlRecord* control_life_record(const ObjectTable* table, const ControlLife& life)
{
    auto* record = static_cast<ControlRecord*>(object_get(table, life.number));
    return record && record->stamp != 0 && record->stamp == life.stamp ? record : nullptr;
}
