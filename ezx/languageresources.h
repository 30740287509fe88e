#pragma once

class QCoreApplication;

// Installs the phone's language resources (compiled from translations/):
// the resource ids (TXT_RID_..., FMT_RID_...) resolve to English or Russian
// texts picked by the locale, English otherwise. Whatever the context of a
// tr(id, English) call, an id resolves; an id missing from the resources
// shows its English text, never the raw id.
void installLanguageResources(QCoreApplication* app);
