/* The binder that every bind stub of the service table jumps to.

   Register contract: on entry the stack holds, from the top, the service's
   ServiceId, the address of its slot, the address of its ServiceEntry, and the
   caller's return address with the caller's arguments above it. All eight
   general registers still hold the caller's values. bindCommon saves them,
   calls bindService(id, slot), restores them, drops the id and the slot
   (with lea, not add: nothing but the flags may differ, and those are not
   promised) and returns into the ServiceEntry, which jumps through the slot
   that is filled now. The bound service thus sees the caller's own stack. */
    .cfi_sections .debug_frame
    .text
    .p2align 4
    .globl _bindCommon
_bindCommon:
    .cfi_startproc
    .cfi_adjust_cfa_offset 12
    pushal
    .cfi_adjust_cfa_offset 32
    pushl 36(%esp)              /* slot: 32 bytes of registers above the id */
    .cfi_adjust_cfa_offset 4
    pushl 36(%esp)              /* id */
    .cfi_adjust_cfa_offset 4
    call _bindService@8         /* removes its two arguments */
    .cfi_adjust_cfa_offset -8
    popal
    .cfi_adjust_cfa_offset -32
    lea 8(%esp), %esp
    .cfi_adjust_cfa_offset -8
    ret                         /* into the ServiceEntry */
    .cfi_endproc
