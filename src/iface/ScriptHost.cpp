#include "iface/ScriptHost.h"

namespace tamber {

namespace {

ScriptHost* g_host = nullptr;

}  // namespace

ScriptHost* ScriptHost::Installed()
{
    return g_host;
}

ScriptHost* ScriptHost::Install(ScriptHost* host)
{
    ScriptHost* previous = g_host;
    g_host = host;
    return previous;
}

}  // namespace tamber
