// A process-wide value that tests and demonstrations replace (an endpoint, a table of
// surroundings): made by makeFirst when first asked for, and read and replaced under one
// lock, so that another thread never sees half of a replacement. The value and its lock
// are function-local statics, made on first use whatever the order of static
// initialisation.
#pragma once

#include <mutex>

template <typename Value, Value (*makeFirst)()>
class ReplaceableValue {
public:
    ReplaceableValue() = delete;

    static Value Get()
    {
        std::lock_guard<std::mutex> lock(Mutex());
        return Current();
    }

    // Answers the value it replaces.
    static Value Replace(const Value& value)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        const Value previous = Current();
        Current() = value;
        return previous;
    }

private:
    static std::mutex& Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    static Value& Current()
    {
        static Value value = makeFirst();
        return value;
    }
};
