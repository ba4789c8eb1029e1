#include "foundation/log/CaughtException.h"

#include <exception>

const char* CaughtExceptionText() noexcept
{
    try {
        throw;
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}
