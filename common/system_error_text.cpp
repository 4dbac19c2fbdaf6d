#include "common/system_error_text.hpp"

#include <cerrno>

namespace pliego {

namespace {

constexpr const char* kMissing = "el archivo o la carpeta no existe";
constexpr const char* kDenied = "no tiene permiso para usarlo";
constexpr const char* kDiskFull = "el disco esta lleno";
constexpr const char* kReadOnly = "el disco es de solo lectura";
constexpr const char* kBusy = "el dispositivo esta ocupado";
constexpr const char* kNoDevice = "el dispositivo no existe";
constexpr const char* kTooManyOpen = "hay demasiados archivos abiertos";
constexpr const char* kTooLarge = "el archivo supera el tamano permitido";
constexpr const char* kFolder = "es una carpeta";
constexpr const char* kLink = "es un enlace";
constexpr const char* kDiskError = "hubo un error al leer o escribir el disco";
constexpr const char* kNoMemory = "no hay memoria suficiente";

const char* spanishForErrno(int value) {
  switch (value) {
    case ENOENT:
    case ENOTDIR: return kMissing;
    case EACCES:
    case EPERM: return kDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kDiskFull;
    case EROFS: return kReadOnly;
    case EBUSY: return kBusy;
    case ENODEV:
    case ENXIO: return kNoDevice;
    case EMFILE:
    case ENFILE: return kTooManyOpen;
    case EFBIG: return kTooLarge;
    case EISDIR: return kFolder;
    case ELOOP: return kLink;
    case EIO: return kDiskError;
    case ENOMEM: return kNoMemory;
    default: return nullptr;
  }
}

const char* spanishForWindowsCode(unsigned long code) {
  switch (code) {
    case 2:    // ERROR_FILE_NOT_FOUND
    case 3:    // ERROR_PATH_NOT_FOUND
    case 161:  // ERROR_BAD_PATHNAME
      return kMissing;
    case 5:  // ERROR_ACCESS_DENIED
      return kDenied;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return kDiskFull;
    case 19:  // ERROR_WRITE_PROTECT
      return kReadOnly;
    case 32:   // ERROR_SHARING_VIOLATION
    case 170:  // ERROR_BUSY
      return kBusy;
    case 15:  // ERROR_INVALID_DRIVE
    case 20:  // ERROR_BAD_UNIT
    case 55:  // ERROR_DEV_NOT_EXIST
      return kNoDevice;
    case 4:  // ERROR_TOO_MANY_OPEN_FILES
      return kTooManyOpen;
    case 223:  // ERROR_FILE_TOO_LARGE
      return kTooLarge;
    case 8:   // ERROR_NOT_ENOUGH_MEMORY
    case 14:  // ERROR_OUTOFMEMORY
      return kNoMemory;
    case 23:  // ERROR_CRC
      return kDiskError;
    default: return nullptr;
  }
}

}  // namespace

std::string systemErrorText(int errnoValue) {
  if (const char* spanish = spanishForErrno(errnoValue)) return spanish;
  return "error " + std::to_string(errnoValue) + " del sistema";
}

std::string windowsErrorText(unsigned long code) {
  if (const char* spanish = spanishForWindowsCode(code)) return spanish;
  return "error " + std::to_string(code) + " del sistema";
}

std::string systemErrorText(const std::error_code& error) {
  if (error.category() == std::generic_category()) return systemErrorText(error.value());
  if (error.category() == std::system_category()) return systemCodeText(error.value());
  return "error " + std::to_string(error.value()) + " del sistema";
}

}  // namespace pliego
