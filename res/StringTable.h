#pragma once

// The string resource with that number (UTF-8), or "" when there is none.
const char* LoadStringResource(int id);
