#include "app/StartupError.h"

#include "platform/AppError.h"

#include <exception>
#include <new>

std::optional<int> buildOrReport(const std::function<void()> &build, const MessageBoxes &messages)
{
    // Ending on a failure with status 0 would report it as success, so every failure ends with 1 at least.
    try {
        build();
        return std::nullopt;
    } catch (const StartupError &error) {
        messages.ownerless(error.message);
        return error.exitCode;
    } catch (const AppError &error) {
        messages.exception(error.message());
    } catch (const std::bad_alloc &) {
        messages.exception(QStringLiteral("Out of memory."));
    } catch (const std::exception &error) {
        const QString what = QString::fromLocal8Bit(error.what());
        messages.exception(what.isEmpty() ? QStringLiteral("Unexpected error while starting.") : what);
    } catch (...) {
        messages.exception(QStringLiteral("Unexpected error while starting."));
    }
    return 1;
}
