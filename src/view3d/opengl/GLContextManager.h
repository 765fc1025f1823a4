#pragma once

// The list of every live rendering context of the process, and the classes
// that a new context can be made of.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TGLContext;

class TGLContextManager {
public:
    using TContextFactory = std::function<std::unique_ptr<TGLContext>()>;

    // A new context of the first registered class; null when none is registered.
    std::unique_ptr<TGLContext> NewContext() const;
    void RegisterContextClass(TContextFactory factory);

    // Every context registers itself when it is made and unregisters when it goes.
    void RegisterContext(TGLContext& context);
    void UnregisterContext(TGLContext& context);
    int ContextCount() const;

    // Platform contexts that exist.
    void ContextCreated();
    void ContextDestroyed();
    int CreatedContextCount() const;

    // At the end of the program: no class is offered any more.
    void Terminate();
    bool Terminated() const;

private:
    mutable std::mutex Lock;
    std::vector<TGLContext*> Contexts;
    int CreatedContexts = 0;
    bool TerminatedValue = false;
    std::vector<TContextFactory> ContextClasses;
};

// The process's manager.
TGLContextManager& GLContextManager();
