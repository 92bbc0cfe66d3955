// Annotations that let Clang check, at compile time, that data shared between
// threads is touched only with its mutex held (-Wthread-safety). Other
// compilers know none of them: there they expand to nothing.
#ifndef FENMARQ_PLATFORM_THREAD_ANNOTATIONS_H_
#define FENMARQ_PLATFORM_THREAD_ANNOTATIONS_H_

#if defined(__has_attribute)
#if __has_attribute(guarded_by)
#define FENMARQ_THREAD_ANNOTATION(x) __attribute__((x))
#endif
#endif
#ifndef FENMARQ_THREAD_ANNOTATION
#define FENMARQ_THREAD_ANNOTATION(x)
#endif

// A type whose objects are locks.
#define FENMARQ_CAPABILITY(name) FENMARQ_THREAD_ANNOTATION(capability(name))
// A type whose objects hold a lock from their construction to their end.
#define FENMARQ_SCOPED_CAPABILITY FENMARQ_THREAD_ANNOTATION(scoped_lockable)
// A member read and written only with `mutex` held.
#define FENMARQ_GUARDED_BY(mutex) FENMARQ_THREAD_ANNOTATION(guarded_by(mutex))
// A function called only with the locks held, or only without them.
#define FENMARQ_REQUIRES(...) FENMARQ_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define FENMARQ_EXCLUDES(...) FENMARQ_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
// A function that takes the locks, or gives them back.
#define FENMARQ_ACQUIRE(...) FENMARQ_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define FENMARQ_RELEASE(...) FENMARQ_THREAD_ANNOTATION(release_capability(__VA_ARGS__))

#endif  // FENMARQ_PLATFORM_THREAD_ANNOTATIONS_H_
