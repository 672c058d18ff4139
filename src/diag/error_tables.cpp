#include "diag/error_tables.h"

#include <array>
#include <cstddef>

namespace cmnw::diag {
namespace {

// Index n holds message n; index 0 and message 19 have no text.
constexpr std::array<const char *, kLastMessage + 1> kMessages = {
    nullptr,
    "Wrong object type for requested operation",
    "Invalid object handle was passed",
    "Initialization has already been performed",
    "Necessary initialization must first be performed",
    "No objects available for requested operation",
    "Object has no associated GUI window frame handle",
    "Failure to bind to an object by name",
    "Object is not in sync with related objects",
    "Requested GUI operation failed",
    "Unable to load/create QRM object",
    "Unable to open/create QRM object",
    "Unable to read/load from QRM object",
    "Unable to write/output to QRM object",
    "Unable to close/terminate QRM object",
    "Version number is not in sync with core library.",
    "This function requires third party software. Please refer to your documentation.",
    "UTLLoadLibrary error. Cannot load %s (%s).Error: %s",
    "Printer configuration mismatch: <PRTTYPE:%s> MODULE=%s PRINTFUNC=%s",
    nullptr,
    "Custom format",
    "Alphanumeric",
    "Int'l Alphanumeric",
    "Alphabetic",
    "Int'l Alphabetic",
    "Uppercase alphanumeric",
    "Int'l Uppercase alphanumeric",
    "Uppercase alphabetic",
    "Int'l Uppercase alphabetic",
    "Numeric",
    "(Y)es or (N)o",
    "X or space",
    "Date format",
    "Table only",
    "Multi-line text",
    "Bar Code",
    "list of text is NULL",
    "field textmerge handle is NULL",
    "font list is empty",
    "cannot locate font",
    "** Parent handle mismatch:\n   object   : %lx %ld\n   objparent: %lx %ld\n   parent   : %lx %ld\n",
    "\t\t\t\t\t\tQRM_OBJFIELD:%lx %s Flag %lx Scope %ld Top %ld Left %ld Bottom %ld Right %ld",
    "\t\t\t\t\t\tQRM_OBJTEXTMER:%lx %s Flag %lx Top %ld Left %ld Bottom %ld Right %ld",
    "checkstack:%s (%ld)\n lowest=%ld current=%ld highest=%ld range=%ld",
    "QRM Not Open",
    "QRM Append Error - File is probably out of space",
    "Cannot load bitmap on this or later page(s) %s",
    "Page %ld",
    "Load failure on %s",
    "Printer configuration is incomplete: <PRINTER> TYPE=",
    "Printer configuration is incomplete: <%s> MODULE=",
    "Printer configuration is incomplete: <%s> PRINTFUNC=",
    "Failure to open device %s\nError number=%d\n%s",
    "Failure to write to device %s\nError number=%d\n%s",
    "Bitmap loader not registered. Type=%ld Name=%s",
    "Bitmap could not be unloaded. Type=%ld Name=%s",
    "Time format",
    "Error in %s: Unable to %s.\n",
    "Error in %s: Unable to %s(pRPS,<%s>,<%s>).\n",
    "Error in %s: Unable to %s(%s,,,,,).\n",
    "Error in %s: Unable to %s(pRPS,<%s>).\n",
    "Error in %s: Unable to %s(<%s>, pRPS).\n",
    "Error in DSLoadDDTRecs(): Definition File Name is blank.",
    "Error in DSLoadDDTRecs(): Unable to open definition file %s.",
    "Error in DSLoadDDTRecs(): DDT <%s> contains illegal syntax, first 20 chars of line are <%s>.",
    "Error in DSAddFieldRule(): Format mask (Field.FmtMask) has too many chars. Maximum chars "
    "allowed is %s. Processing will continue with truncated FmtMask.\n\n",
    "Error in DSAddImageField(pRPS,%s): Global field rules have not been added.\n",
    "Error in DSAddImageField(pRPS,%s): Unable to GetFieldRule(). Check field rule file for "
    "field:%s.\n",
    "Error in %s(pRPS, %s): Unable to %s.\n",
    "Error in DSOpenVSAM(): Unable to open definition file <%s>.",
    "Error in DSOpenVSAM(): Unable to locate member <%s> in definition file <%s>.",
    "Import Error: No formset header.",
    "Import Error: Bad formset header: Must have at least Group1, Group2, and Key.",
    "Import Error: Unable to create group %s %s.",
    "Import Error: Bad NA line: Must have at least Group1, Group2, and Key.",
    "Import Error: No form name provided.",
    "Import Error: Unable to create form %s.",
    "Import Error: Unable to create image %s.",
};

}  // namespace

const char *BuiltInMessage(int32_t errorNumber) noexcept {
    if (errorNumber < kFirstMessage || errorNumber > kLastMessage) return nullptr;
    return kMessages[static_cast<size_t>(errorNumber)];
}

}  // namespace cmnw::diag
