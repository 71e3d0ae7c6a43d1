// Shows the name prompt at once, as the site does once its program asks for the name.
'use strict';
document.getElementById('dialog').showModal();
document.getElementById('dialog_input').focus();
