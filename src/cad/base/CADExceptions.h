#pragma once

// The drawing engine reports every refused operation with one of these.
// Each message names the class and the operation, then a colon and the problem.

#include <stdexcept>
#include <string>

class ECADCoreException : public std::runtime_error {
public:
    explicit ECADCoreException(const std::string& message) : std::runtime_error(message) {}
};

class ECADOutOfBound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

class ECADObjClassNotFound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

class ECADSourceBlockIsReferenced : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

class ECADFileNotValid : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

class ECADListObjNotFound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

class ECADListBlocked : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};
