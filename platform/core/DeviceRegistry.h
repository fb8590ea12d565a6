#pragma once
#include <QPainter>
#include <cstdint>

// Device handles: 32-bit integers that stand for a live drawing surface, so
// that a surface can be passed around as a number and resolved where it is
// drawn on. Handles are never reused within a run of the program.
class DeviceRegistry {
public:
    static std::int32_t add(QPainter *painter);
    static void remove(std::int32_t handle);
    // nullptr when the handle names no live surface.
    static QPainter *resolve(std::int32_t handle);
};
