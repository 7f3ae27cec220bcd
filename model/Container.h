// The common base of the component's containers.
#pragma once

// Common polymorphic base of the containers.
class CContainer
{
public:
    virtual ~CContainer() = default;
};
