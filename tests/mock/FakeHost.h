#pragma once
// The tests' fake of the host: the scripted host (every service call recorded,
// answers from queues) with the tests' default reason. One at a time; the
// destructor puts every procedure variable and the message handler back.
#include "ScriptedHost.h"

class FakeHost : public ScriptedHost {
public:
    FakeHost() { MotivoPadrao = {QStringLiteral("1"), QStringLiteral("Desistência do cliente")}; }

    static FakeHost* Current() { return dynamic_cast<FakeHost*>(ScriptedHost::Current()); }
};
