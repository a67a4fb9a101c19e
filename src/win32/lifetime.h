#pragma once
// The window objects of the program while they exist. Window procedures
// look their object up here before using it: a message that could only
// reach an object already destroyed is counted and passed on to the
// system, never delivered. The ownership rules of window.h keep the count
// at zero; the tests check that they do.
namespace quill::win32::lifetime {

void Born(const void* object);
void Died(const void* object);
bool Alive(const void* object);
// Records a message that arrived for an object no longer alive.
void CountStray();
// How many messages arrived for objects no longer alive, since the start.
unsigned long StrayMessages();

}  // namespace quill::win32::lifetime
