#pragma once

#include <functional>
#include <string>

namespace cadtest {

// The text of the exception of class E that the action raises, or
// "no exception"; an exception of another class goes on to the test.
template <typename E>
std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

} // namespace cadtest
