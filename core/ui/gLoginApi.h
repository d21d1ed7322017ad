#pragma once

// What start-up needs of the sign-in window: pressing its sign-in button
// without showing it. True when the account is signed in.
class gLoginForm {
public:
    virtual ~gLoginForm() = default;
    virtual bool cmd1Click() = 0;
};
