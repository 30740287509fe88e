#pragma once

#include <QByteArray>

class QObject;

// Slots given by name, as the phone's widgets take them: "accept()" or the
// SLOT(accept()) form (a leading method code digit). Calls go through the
// meta-object, so the override of a virtual slot in a subclass runs.
namespace slotbyname {

// The normalised signature ("accept()"), or empty for a null/empty name.
QByteArray normalize(const char* slot);

// Calls receiver's argument-less slot. False, with one log line naming
// `who`, when the receiver is gone or has no such slot.
bool invoke(QObject* receiver, const QByteArray& slot, const char* who);

}  // namespace slotbyname
