#pragma once
// Reading `handheld ui dump --json` in tests: the dump as an object, and whether it
// holds a control (or one of a list's rows, a tree's items) with the given fields.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <initializer_list>
#include <string>
#include <utility>

namespace testing_support {

// The dump, with or without the automation reply's "ok" line in front; empty when it is
// not a JSON object.
inline QJsonObject DumpObject(const std::string& dump) {
    std::string json = dump;
    if (json.rfind("ok\n", 0) == 0) json.erase(0, 3);
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

using Fields = std::initializer_list<std::pair<const char*, QJsonValue>>;

inline bool HasFields(const QJsonObject& object, Fields wanted) {
    for (const auto& [key, value] : wanted)
        if (object.value(QLatin1String(key)) != value) return false;
    return true;
}

// The first control of the dump with every one of `wanted`'s fields; empty when none.
inline QJsonObject DumpControl(const std::string& dump, Fields wanted) {
    for (const QJsonValue control : DumpObject(dump).value(QLatin1String("controls")).toArray())
        if (HasFields(control.toObject(), wanted)) return control.toObject();
    return {};
}

inline bool DumpHas(const std::string& dump, Fields wanted) { return !DumpControl(dump, wanted).isEmpty(); }

}  // namespace testing_support
