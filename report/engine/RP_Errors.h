#pragma once
// The errors the report engine raises. A build catches them and reports one composite
// calculation message, so each carries only its own text.
#include "platform/Exception.h"

// Base of the engine's errors.
class ErpError : public Exception {
public:
  using Exception::Exception;
};

// An expression or script that cannot be compiled or evaluated.
class EParserError : public ErpError {
public:
  using ErpError::ErpError;
};

// A text that is no valid number, date or time.
class EConvertError : public ErpError {
public:
  using ErpError::ErpError;
};

// A value that cannot take part in an operation or conversion.
class EVariantError : public ErpError {
public:
  using ErpError::ErpError;
};

// A component, data set or object class that cannot be found by name.
class EClassNotFound : public ErpError {
public:
  using ErpError::ErpError;
};

// A report stream that ends early or holds a value that cannot be read.
class ErpLoadError : public ErpError {
public:
  using ErpError::ErpError;
};
