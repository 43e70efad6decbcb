#pragma once

namespace kiv {

// Common base of the model classes and of the reader: objects are owned
// through containers of owning pointers and deleted through this base.
class CoverageCommon {
  public:
    CoverageCommon() = default;
    CoverageCommon(const CoverageCommon&) = delete;
    CoverageCommon& operator=(const CoverageCommon&) = delete;
    virtual ~CoverageCommon() = default;
};

} // namespace kiv
