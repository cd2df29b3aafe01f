#pragma once
// An error of the database layer: the engine's own text and its gds codes.
#include <QString>
#include <stdexcept>
#include <vector>

namespace Firebird { class IStatus; }

namespace fb {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& text, std::vector<long> codes = {});
    QString text() const { return text_; }
    const std::vector<long>& codes() const { return codes_; }
    bool hasCode(long gds) const;
    // Another transaction holds the row (changed, deleted or locked it and has
    // not ended): an update conflict, a lock conflict or a deadlock.
    bool isRowConflict() const;

    // Builds the error from a failed status vector (text by the engine's formatter).
    static Error fromStatus(const Firebird::IStatus* status);

private:
    QString text_;
    std::vector<long> codes_;
};

}  // namespace fb
