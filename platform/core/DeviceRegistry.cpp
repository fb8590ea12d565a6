#include "DeviceRegistry.h"

#include <unordered_map>

namespace {
std::unordered_map<std::int32_t, QPainter *> &surfaces()
{
    static std::unordered_map<std::int32_t, QPainter *> map;
    return map;
}
std::int32_t g_nextHandle = 0x1000;
} // namespace

std::int32_t DeviceRegistry::add(QPainter *painter)
{
    const std::int32_t handle = g_nextHandle++;
    surfaces()[handle] = painter;
    return handle;
}

void DeviceRegistry::remove(std::int32_t handle) { surfaces().erase(handle); }

QPainter *DeviceRegistry::resolve(std::int32_t handle)
{
    auto it = surfaces().find(handle);
    return it == surfaces().end() ? nullptr : it->second;
}
