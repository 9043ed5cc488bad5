#pragma once
// Recorded host calls as JSON, the form a scenario run's record keeps them in:
//   {"service": NAME, "args": [...], "result": VALUE, "default": true}
// Arguments in the service's order, texts as passed, numbers as numbers, a
// written-back argument as the answer left it, a data packet as an array of
// row objects (field name to value); "result" only for a service that returns
// one, "default" only when the answer was a default.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include "ScriptedHost.h"

QJsonValue ValorJson(const QVariant& value);
QJsonObject ChamadaJson(const ScriptedHost::Call& call);
QJsonArray ChamadasJson(const QList<ScriptedHost::Call>& calls);
