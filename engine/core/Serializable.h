#pragma once
#include "engine/core/EngineExport.h"

namespace corvelin {
// Base of every stored record class: a class query for the archive's class registry, a virtual destructor and
// Serialize, which writes when the archive stores and reads when it loads.
class CArchive;

class CORVELIN_ENGINE_EXPORT CSerializable {
public:
    virtual const char* GetClassName() const = 0;
    virtual ~CSerializable() = default;
    virtual void Serialize(CArchive& ar) = 0;
};

} // namespace corvelin
