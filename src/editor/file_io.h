#pragma once
// Loading a file into a document and saving it back.
#include "editor/document.h"

u8 file_kind_for_path(StringView path);
void document_load(Document* doc, StringView path);
void document_save(Document* doc);
