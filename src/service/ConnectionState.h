#pragma once

// What the lamp and the tray image show about the provider definitions in use.
enum class ConnectionState : int
{
    NoDefinitions = 0, // none usable, or offline: red
    Stored = 1, // stored or the user's own ones, or a request under way: yellow
    Service = 2, // a complete document from the service was processed: green
};
